#include "metafile/WmfBytes.h"

#include <iterator>
#include <utility>

namespace wmf {

TCursor TCursor::Headers(TByteSpan data) {
  return TCursor(data, TErrorId::WmfHeaderTooShort, {});
}

TCursor TCursor::Record(TByteSpan data, const std::string& name, std::size_t offset) {
  return TCursor(data, TErrorId::WmfRecordTooShort, {name, std::to_string(offset)});
}

void TCursor::Reject(TErrorId fault, std::vector<std::string> args) const {
  std::vector<std::string> all = place_;
  all.insert(all.end(), std::make_move_iterator(args.begin()), std::make_move_iterator(args.end()));
  throw EAppError(fault, std::move(all));
}

}  // namespace wmf
