#include "locale/LocaleUtl.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

#include "platform/SystemLanguage.h"

namespace {

struct LanguageName {
  std::uint32_t id;
  std::string_view name;
};

// Row k has identifier k; the empty names stand for identifiers no name leads to.
constexpr std::array<LanguageName, 147> kLanguageNames{{
    {0x01, "ar"},  {0x02, "bg"},  {0x03, "ca"},  {0x04, "zh-Hans"}, {0x05, "cs"},  {0x06, "da"},
    {0x07, "de"},  {0x08, "el"},  {0x09, "en"},  {0x0A, "es"},      {0x0B, "fi"},  {0x0C, "fr"},
    {0x0D, "he"},  {0x0E, "hu"},  {0x0F, "is"},  {0x10, "it"},      {0x11, "ja"},  {0x12, "ko"},
    {0x13, "nl"},  {0x14, "no"},  {0x15, "pl"},  {0x16, "pt"},      {0x17, "rm"},  {0x18, "ro"},
    {0x19, "ru"},  {0x1A, "hr"},  {0x1B, "sk"},  {0x1C, "sq"},      {0x1D, "sv"},  {0x1E, "th"},
    {0x1F, "tr"},  {0x20, "ur"},  {0x21, "id"},  {0x22, "uk"},      {0x23, "be"},  {0x24, "sl"},
    {0x25, "et"},  {0x26, "lv"},  {0x27, "lt"},  {0x28, "tg"},      {0x29, "fa"},  {0x2A, "vi"},
    {0x2B, "hy"},  {0x2C, "az"},  {0x2D, "eu"},  {0x2E, "hsb"},     {0x2F, "mk"},  {0x30, "st"},
    {0x31, "ts"},  {0x32, "tn"},  {0x33, "ve"},  {0x34, "xh"},      {0x35, "zu"},  {0x36, "af"},
    {0x37, "ka"},  {0x38, "fo"},  {0x39, "hi"},  {0x3A, "mt"},      {0x3B, "se"},  {0x3C, "ga"},
    {0x3D, "yi"},  {0x3E, "ms"},  {0x3F, "kk"},  {0x40, "ky"},      {0x41, "sw"},  {0x42, "tk"},
    {0x43, "uz"},  {0x44, "tt"},  {0x45, "bn"},  {0x46, "pa"},      {0x47, "gu"},  {0x48, "or"},
    {0x49, "ta"},  {0x4A, "te"},  {0x4B, "kn"},  {0x4C, "ml"},      {0x4D, "as"},  {0x4E, "mr"},
    {0x4F, "sa"},  {0x50, "mn"},  {0x51, "bo"},  {0x52, "cy"},      {0x53, "km"},  {0x54, "lo"},
    {0x55, "my"},  {0x56, "gl"},  {0x57, "kok"}, {0x58, "mni"},     {0x59, "sd"},  {0x5A, "syr"},
    {0x5B, "si"},  {0x5C, "chr"}, {0x5D, "iu"},  {0x5E, "am"},      {0x5F, "tzm"}, {0x60, "ks"},
    {0x61, "ne"},  {0x62, "fy"},  {0x63, "ps"},  {0x64, "fil"},     {0x65, "dv"},  {0x66, "bin"},
    {0x67, "ff"},  {0x68, "ha"},  {0x69, "ibb"}, {0x6A, "yo"},      {0x6B, "quz"}, {0x6C, "nso"},
    {0x6D, "ba"},  {0x6E, "lb"},  {0x6F, "kl"},  {0x70, "ig"},      {0x71, "kr"},  {0x72, "om"},
    {0x73, "ti"},  {0x74, "gn"},  {0x75, "haw"}, {0x76, "la"},      {0x77, "so"},  {0x78, "ii"},
    {0x79, "pap"}, {0x7A, "arn"}, {0x7B, ""},    {0x7C, "moh"},     {0x7D, ""},    {0x7E, "br"},
    {0x7F, ""},    {0x80, "ug"},  {0x81, "mi"},  {0x82, "oc"},      {0x83, "co"},  {0x84, "gsw"},
    {0x85, "sah"}, {0x86, "qut"}, {0x87, "rw"},  {0x88, "wo"},      {0x89, ""},    {0x8A, ""},
    {0x8B, ""},    {0x8C, "prs"}, {0x8D, ""},    {0x8E, ""},        {0x8F, ""},    {0x90, ""},
    {0x91, "gd"},  {0x92, "ku"},  {0x93, "quc"},
}};

bool SameName(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
    return std::tolower(x) == std::tolower(y);
  });
}

std::uint8_t LanguageOfName(const std::string& name) {
  return static_cast<std::uint8_t>(GetLanguageIdByName(name));
}

}  // namespace

std::uint8_t GetSystemLanguage() {
  return LanguageOfName(platform::SystemLocaleLanguageName());
}

std::uint8_t GetUserUILanguage() {
  return LanguageOfName(platform::UserUILanguageName());
}

std::uint8_t GetDefaultLanguage(bool systemLocale) {
  return systemLocale ? GetSystemLanguage() : GetUserUILanguage();
}

std::uint32_t GetLanguageIdByName(std::string_view name) {
  const auto isBlankOrControl = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  while (!name.empty() && isBlankOrControl(name.front())) {
    name.remove_prefix(1);
  }
  while (!name.empty() && isBlankOrControl(name.back())) {
    name.remove_suffix(1);
  }
  if (name.empty()) {
    return 0;
  }
  for (const auto& row : kLanguageNames) {
    if (SameName(row.name, name)) {
      return row.id;
    }
  }
  return 0;
}

bool IsPolishInterface(std::uint8_t configuredLanguage) {
  const std::uint8_t language =
      configuredLanguage != 0 ? configuredLanguage : GetDefaultLanguage(true);
  return language == kLangPolish;
}
