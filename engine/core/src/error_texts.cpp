#include "error_texts.h"

#include "pellory/engine.h"

namespace pellory::engine {

const char* ErrorTextFor(std::uint16_t code) {
  switch (code) {
    case PEL_OK:
      return "";
    case PEL_AT_BEGINNING:
      return "At the first record.";
    case PEL_AT_END:
      return "At the last record.";
    case PEL_END_OF_BLOB:
      return "Read past the end of the blob.";
    case PEL_NO_CURRENT_RECORD:
      return "The cursor stands on no record.";
    case PEL_NO_SUCH_RECORD:
      return "No such record.";
    case PEL_LIBRARY_NOT_FOUND:
      return "The database engine library was not found.";
    case PEL_LIBRARY_NOT_LOADABLE:
      return "The database engine library could not be loaded.";
    case PEL_NO_MEMORY:
      return "Not enough memory for this operation.";
    case PEL_NO_INIT_ENTRY:
      return "The database engine library has no initialisation entry.";
    case PEL_ENTRY_MISSING:
      return "The database engine library lacks an entry point.";
    case PEL_HEADER_DAMAGED:
      return "The table's header is damaged.";
    case PEL_BLOCK_DAMAGED:
      return "A data block of the table is damaged.";
    case PEL_BLOB_DAMAGED:
      return "The table's blob file is damaged.";
    case PEL_UNSUPPORTED_TABLE:
      return "The file is not a table this engine reads.";
    case PEL_READ_FAILED:
      return "A file could not be read.";
    case PEL_FILE_CHANGED:
      return "A file of the table was changed by another program while the table was open.";
    case PEL_TABLE_NOT_FOUND:
      return "Table does not exist.";
    case PEL_DIRECTORY_NOT_FOUND:
      return "Directory does not exist.";
    case PEL_ACCESS_DENIED:
      return "Permission denied.";
    case PEL_UNKNOWN_ALIAS:
      return "Unknown database alias.";
    case PEL_BLOB_FILE_NOT_FOUND:
      return "The table's blob file does not exist.";
    case PEL_CONFIG_DAMAGED:
      return "The engine configuration file is not valid.";
    case PEL_INVALID_HANDLE:
      return "Invalid handle.";
    case PEL_INVALID_ARGUMENT:
      return "Invalid argument.";
    case PEL_BUFFER_TOO_SMALL:
      return "The buffer is too small.";
    case PEL_NO_SUCH_FIELD:
      return "No such field.";
    case PEL_NOT_A_BLOB:
      return "The field is not a blob field.";
    case PEL_BLOB_NOT_OPEN:
      return "The blob is not open.";
    case PEL_FILTER_INVALID:
      return "The filter expression is not valid.";
    case PEL_NOT_SUPPORTED:
      return "Operation not supported.";
    case PEL_NOT_INITIALISED:
      return "The database engine is not initialised.";
    case PEL_WRONG_VERSION:
      return "The database engine does not offer this interface version.";
    case PEL_NOTHING_READ:
      return "Nothing was read.";
    case PEL_PASSWORD_NEEDED:
      return "The table is encrypted and no password given matches.";
    case PEL_ALREADY_INITIALISED:
      return "The database engine is already initialised.";
    case PEL_ONLY_READABLE:
      return "The table can only be opened for reading.";
    default:
      return "";
  }
}

}  // namespace pellory::engine
