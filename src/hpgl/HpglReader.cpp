#include "hpgl/HpglReader.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <fstream>

#include "base/AppError.h"
#include "platform/Utf8Path.h"

namespace hpgl {

namespace {

bool IsLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

char Upper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Printable ASCII as it is, every other byte as \xNN.
void AppendShown(std::string& out, char c) {
  const auto byte = static_cast<unsigned char>(c);
  if (byte >= 0x20 && byte < 0x7F) {
    out += c;
    return;
  }
  static const char kHex[] = "0123456789ABCDEF";
  out += "\\x";
  out += kHex[byte >> 4];
  out += kHex[byte & 0xF];
}

constexpr char kLabelEnd = '\x03';  // ETX, the default end of an LB text

}  // namespace

Reader::Kind Reader::KindOf(std::string_view mnemonic) {
  static constexpr struct {
    std::string_view mnemonic;
    Kind kind;
  } kKnown[] = {
      {"PU", Kind::PenUp},    {"PD", Kind::PenDown},   {"PA", Kind::Absolute},
      {"PR", Kind::Relative}, {"SP", Kind::SelectPen}, {"IN", Kind::Init},
      {"DF", Kind::Defaults}, {"VS", Kind::Plain},     {"WU", Kind::Plain},
      {"PW", Kind::Plain},    {"LT", Kind::Plain},     {"LB", Kind::Label},
  };
  for (const auto& known : kKnown) {
    if (known.mnemonic == mnemonic) {
      return known.kind;
    }
  }
  return Kind::Unknown;
}

Reader::Reader() = default;

void Reader::Feed(std::string_view bytes) {
  for (const char c : bytes) {
    FeedByte(c);
    if (c == '\n') {
      ++line_;
    }
  }
}

Program Reader::Finish() {
  if (state_ != State::Between) {
    EndStatement();
  }
  return std::move(program_);
}

void Reader::FeedByte(char c) {
  switch (state_) {
    case State::Between:
      if (IsBlank(c) || c == ';') {
        return;
      }
      BeginStatement(c);
      return;

    case State::Stray:
      if (c == ';') {
        EndStatement();
      } else if (IsLetter(c)) {
        EndStatement();
        BeginStatement(c);
      } else {
        AddText(c);
      }
      return;

    case State::Label:
      if (c == kLabelEnd) {
        EndStatement();
      }
      return;

    case State::Mnemonic:
      if (IsLetter(c)) {
        mnemonic_[1] = Upper(c);
        AddText(c);
        kind_ = KindOf(std::string_view(mnemonic_, 2));
        if (kind_ == Kind::Label) {
          state_ = State::Label;
          return;
        }
        // The pen state and the coordinate mode hold from the mnemonic on.
        if (kind_ == Kind::PenUp || kind_ == Kind::PenDown) {
          penDown_ = kind_ == Kind::PenDown;
        } else if (kind_ == Kind::Absolute || kind_ == Kind::Relative) {
          relative_ = kind_ == Kind::Relative;
        }
        state_ = State::Parameters;
        return;
      }
      // A lone letter is no mnemonic: the statement is unknown, and c is its first parameter.
      kind_ = Kind::Unknown;
      state_ = State::Parameters;
      FeedByte(c);
      return;

    case State::Parameters:
      if (c == ';') {
        EndStatement();
        return;
      }
      if (IsLetter(c)) {  // a new mnemonic ends the statement
        EndStatement();
        BeginStatement(c);
        return;
      }
      AddText(c);
      if (kind_ == Kind::Unknown) {
        return;
      }
      if ((c >= '0' && c <= '9') || c == '.') {
        if (number_.size() >= kMaxNumberLength) {
          Fail(TErrorId::HpglNumberTooLong, {std::to_string(kMaxNumberLength)});
        }
        number_ += c;
        afterBlank_ = afterComma_ = false;
      } else if (c == '+' || c == '-') {
        if (!number_.empty()) {
          EndNumber();
        }
        number_ += c;
        afterBlank_ = afterComma_ = false;
      } else if (c == ',') {
        if (!number_.empty()) {
          EndNumber();
        } else if (!afterBlank_) {
          Fail(TErrorId::HpglEmptyParameter);
        }
        afterBlank_ = false;
        afterComma_ = true;
      } else if (IsBlank(c)) {
        if (!number_.empty()) {
          EndNumber();
          afterBlank_ = true;
        }
      } else {
        std::string shown;
        AppendShown(shown, c);
        Fail(TErrorId::HpglUnexpectedCharacter, {shown});
      }
      return;
  }
}

void Reader::BeginStatement(char first) {
  ++program_.statementCount;
  statementLine_ = line_;
  text_.clear();
  textCut_ = false;
  statementMoved_ = false;
  number_.clear();
  afterBlank_ = afterComma_ = false;
  parameters_.clear();
  coordinates_.clear();
  AddText(first);
  if (IsLetter(first)) {
    mnemonic_[0] = Upper(first);
    mnemonic_[1] = 0;
    state_ = State::Mnemonic;
  } else {
    mnemonic_[0] = 0;
    kind_ = Kind::Unknown;
    state_ = State::Stray;
  }
}

void Reader::EndStatement() {
  const State ended = state_;
  state_ = State::Between;
  if (ended == State::Mnemonic || ended == State::Stray) {
    kind_ = Kind::Unknown;  // a lone letter or bytes before any mnemonic
  }
  if (kind_ == Kind::Unknown) {
    ++program_.unknownCount;
    if (program_.unknown.size() < kMaxUnknownKept) {
      text_.erase(text_.find_last_not_of(' ') + 1);
      program_.unknown.push_back({program_.statementCount, statementLine_, text_});
    }
    return;
  }
  if (kind_ == Kind::Label) {
    return;
  }
  if (!number_.empty()) {
    EndNumber();
  } else if (afterComma_) {
    Fail(TErrorId::HpglMissingParameter);
  }
  switch (kind_) {
    case Kind::PenUp:
    case Kind::PenDown:
    case Kind::Absolute:
    case Kind::Relative:
      if (coordinates_.size() == 1) {
        Fail(TErrorId::HpglOddCoordinates);
      }
      if (!statementMoved_) {
        AddMove(0, 0, false);
      }
      break;
    case Kind::SelectPen: {
      double pen = 0;
      if (parameters_.size() > 1) {
        Fail(TErrorId::HpglSeveralPens);
      }
      if (!parameters_.empty()) {
        pen = parameters_[0];
      }
      if (pen < 0 || pen > 255 || pen != std::floor(pen)) {
        Fail(TErrorId::HpglBadPen);
      }
      pen_ = static_cast<int>(pen);
      outlineOpen_ = false;
      selectStatement_ = program_.statementCount;
      break;
    }
    case Kind::Init:
      penDown_ = false;
      relative_ = false;
      break;
    case Kind::Defaults:
      relative_ = false;
      break;
    default:
      break;
  }
}

void Reader::EndNumber() {
  const char* first = number_.data();
  const char* last = first + number_.size();
  if (first != last && *first == '+') {
    ++first;  // from_chars takes no plus sign
  }
  double value = 0;
  const auto [end, error] = std::from_chars(first, last, value);
  if (error != std::errc() || end != last) {
    Fail(TErrorId::HpglNotANumber, {number_});
  }
  number_.clear();
  const bool move = kind_ == Kind::PenUp || kind_ == Kind::PenDown || kind_ == Kind::Absolute ||
                    kind_ == Kind::Relative;
  if (!move) {
    if (parameters_.size() >= kMaxParameters) {
      Fail(TErrorId::HpglTooManyParameters, {std::to_string(kMaxParameters)});
    }
    parameters_.push_back(value);
    return;
  }
  const double rounded = std::round(value);
  if (!(rounded >= static_cast<double>(kMinCoordinate) &&
        rounded <= static_cast<double>(kMaxCoordinate))) {
    Fail(TErrorId::HpglCoordinateRange);
  }
  coordinates_.push_back(static_cast<std::int64_t>(rounded));
  if (coordinates_.size() == 2) {
    AddMove(coordinates_[0], coordinates_[1], true);
    coordinates_.clear();
    statementMoved_ = true;
  }
}

void Reader::AddMove(std::int64_t x, std::int64_t y, bool hasPoint) {
  if (hasPoint) {
    if (relative_) {
      x += x_;
      y += y_;
    }
    if (x < kMinCoordinate || x > kMaxCoordinate || y < kMinCoordinate || y > kMaxCoordinate) {
      Fail(TErrorId::HpglRelativeRange);
    }
  } else {
    x = x_;
    y = y_;
  }
  if (totalMoves_ >= kMaxMoves) {
    Fail(TErrorId::HpglTooManyMoves, {std::to_string(kMaxMoves)});
  }
  if (!outlineOpen_) {
    if (program_.outlines.size() >= kMaxOutlines) {
      Fail(TErrorId::HpglTooManyOutlines, {std::to_string(kMaxOutlines)});
    }
    Outline outline;
    outline.pen = pen_;
    outline.firstStatement = selectStatement_ != 0 ? selectStatement_ : program_.statementCount;
    outline.entryX = static_cast<std::int32_t>(x_);
    outline.entryY = static_cast<std::int32_t>(y_);
    program_.outlines.push_back(std::move(outline));
    outlineOpen_ = true;
  }
  Outline& outline = program_.outlines.back();
  outline.lastStatement = program_.statementCount;
  outline.moves.push_back({program_.statementCount, static_cast<std::int32_t>(x),
                           static_cast<std::int32_t>(y), penDown_, hasPoint});
  ++totalMoves_;
  x_ = x;
  y_ = y;
}

void Reader::AddText(char c) {
  if (c == '\r' || c == '\n') {
    return;  // line ends separate statements; they are no part of the text shown
  }
  if (text_.size() < kMaxUnknownTextKept) {
    AppendShown(text_, c);
  } else if (!textCut_) {
    text_ += "...";
    textCut_ = true;
  }
}

void Reader::Fail(TErrorId fault, std::vector<std::string> args) const {
  throw EAppError(TErrorId::HpglStatement,
                  {std::to_string(program_.statementCount), std::to_string(statementLine_), Name()},
                  EAppError(fault, std::move(args)));
}

std::string Reader::Name() const {
  return mnemonic_[0] != 0 && mnemonic_[1] != 0 ? std::string(mnemonic_, 2) : "?";
}

Program ReadProgram(std::string_view text) {
  Reader reader;
  reader.Feed(text);
  return reader.Finish();
}

Program ReadProgramFile(const std::string& path) {
  std::ifstream in(platform::PathFromUtf8(path), std::ios::binary);
  if (!in) {
    throw EAppError(TErrorId::ProgramRead, {path}, std::error_code(errno, std::generic_category()));
  }
  Reader reader;
  std::string chunk(1 << 16, '\0');
  std::size_t total = 0;
  try {
    while (in) {
      in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
      const auto got = static_cast<std::size_t>(in.gcount());
      total += got;
      if (total > kMaxProgramFileSize) {
        throw EAppError(TErrorId::ProgramTooLarge,
                        {path, std::to_string(kMaxProgramFileSize >> 20)});
      }
      reader.Feed(std::string_view(chunk.data(), got));
    }
    if (in.bad()) {
      throw EAppError(TErrorId::ProgramRead, {path},
                      std::error_code(errno, std::generic_category()));
    }
    return reader.Finish();
  } catch (const EAppError& e) {
    if (e.Id() == TErrorId::ProgramRead || e.Id() == TErrorId::ProgramTooLarge) {
      throw;
    }
    throw EAppError(TErrorId::ProgramRead, {path}, e);
  }
}

}  // namespace hpgl
