// Run-time error codes: the numbers that a failing operation of file access
// leaves in the error word, and the short words the program shows for them.
#ifndef ZELTO_FRAME_RUN_TIME_ERRORS_H_
#define ZELTO_FRAME_RUN_TIME_ERRORS_H_

namespace frame {

inline constexpr int kBadRecordLength = 5;      ///< record length refused at open
inline constexpr int kOutOfMemory = 7;          ///< memory could not be had
inline constexpr int kInternalError = 51;       ///< code 0 recorded, or a bad handle
inline constexpr int kBadFileNumber = 52;       ///< no file open under the number
inline constexpr int kFileNotFound = 53;        ///< the file does not exist
inline constexpr int kBadFileMode = 54;         ///< wrong kind of file for the operation
inline constexpr int kFileAlreadyOpen = 55;     ///< the file number is taken
inline constexpr int kDiskFull = 61;            ///< the disk or the size limit is full
inline constexpr int kPastEndOfFile = 62;       ///< nothing left to read
inline constexpr int kBadRecordNumber = 63;     ///< record number 0 or out of range
inline constexpr int kBadFileName = 64;         ///< empty name, wildcards, or unusable bytes
inline constexpr int kTooManyFiles = 67;        ///< the system has no more file handles
inline constexpr int kDeviceUnavailable = 68;   ///< no such drive or unit
inline constexpr int kAccessDenied = 70;        ///< permission refused, or the file is held
inline constexpr int kDiskNotReady = 71;        ///< the device is not ready
inline constexpr int kDeviceError = 72;         ///< the disk reported a read or write fault
inline constexpr int kNotSameDevice = 74;       ///< a move across devices
inline constexpr int kPathFileAccess = 75;      ///< any other file-system refusal
inline constexpr int kPathNotFound = 76;        ///< a folder on the way does not exist
/// The name is longer than the platform's open takes. Next to the path
/// codes 74-76, the group of refusals about a name and where it leads.
inline constexpr int kNameTooLong = 77;
/// A folder named where a file was asked for; its own code so that
/// "Access denied" keeps meaning a refused permission.
inline constexpr int kIsFolder = 78;
inline constexpr int kSystemError = 241;        ///< the system's own memory is damaged
inline constexpr int kFieldTooLong = 242;       ///< a line of input longer than any schedule text has
inline constexpr int kUtf16Text = 243;          ///< the input is UTF-16 text
inline constexpr int kNoDateLine = 244;         ///< the input has no date line at all
inline constexpr int kScheduleFileAsInput = 245;  ///< the input is a schedule file, not its text
inline constexpr int kEmptyInput = 246;         ///< the input holds no byte at all

/// The short reason shown for a code, e.g. "File not found".
const char* ErrorMessage(int code);

}  // namespace frame

#endif  // ZELTO_FRAME_RUN_TIME_ERRORS_H_
