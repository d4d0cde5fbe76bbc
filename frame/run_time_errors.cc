#include "frame/run_time_errors.h"

namespace frame {

const char* ErrorMessage(int code) {
  switch (code) {
    case kBadRecordLength: return "Record length not accepted";
    case kOutOfMemory: return "Out of memory";
    case kInternalError: return "Internal error";
    case kBadFileNumber: return "No file open under that number";
    case kFileNotFound: return "File not found";
    case kBadFileMode: return "Not a disk file, or the wrong kind of file";
    case kFileAlreadyOpen: return "File number already in use";
    case kDiskFull: return "Disk full";
    case kPastEndOfFile: return "Nothing left to read";
    case kBadRecordNumber: return "Record number out of range";
    case kBadFileName: return "Bad file name";
    case kTooManyFiles: return "Too many open files";
    case kDeviceUnavailable: return "Drive or device not available";
    case kAccessDenied: return "Access denied, or the file is in use";
    case kDiskNotReady: return "Device not ready";
    case kDeviceError: return "Disk read or write error";
    case kNotSameDevice: return "Not the same device";
    case kPathFileAccess: return "File access error";
    case kPathNotFound: return "Folder not found";
    case kNameTooLong: return "File name too long";
    case kIsFolder: return "It is a folder, not a file";
    case kSystemError: return "System memory error";
    case kFieldTooLong: return "A line longer than 1 MiB: not a schedule text";
    case kUtf16Text: return "It is UTF-16 text: save it as ANSI or UTF-8";
    case kNoDateLine: return "No date line (a line starting with \"[\"): nothing to build";
    case kEmptyInput: return "It is empty: no date line, nothing to build";
    case kScheduleFileAsInput:
      return "It is a schedule file, not a schedule text: are the two names swapped?";
    default: return "Unknown error";
  }
}

}  // namespace frame
