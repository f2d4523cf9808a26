#include "platform/FileSystem.h"

namespace platform {

EAppError WriteError(TErrorId plain, const std::string& path, const TWriteResult& result) {
  switch (result.refusal) {
    case TWriteRefusal::FolderTakesNoNewFile:
      return EAppError(TErrorId::WriteFolderTakesNoNewFile, {path}, result.reason);
    case TWriteRefusal::LinkInSharedFolder:
      return EAppError(TErrorId::WriteLinkInSharedFolder, {path, result.link}, result.reason);
    case TWriteRefusal::PipeWithoutReader:
      return EAppError(TErrorId::WritePipeWithoutReader, {path}, result.reason);
    case TWriteRefusal::None:
      break;
  }
  return EAppError(plain, {path}, result.reason);
}

}  // namespace platform
