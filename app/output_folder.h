// The output folder the run writes into: the checks made before a run starts, and what a failed
// write says about the folder. Every problem is shown with a message that names it and the folder.
#pragma once
#include <cstdint>
#include <string>

namespace ruvelto::app {

// Why an output was not written.
enum class WriteFailure {
    kNone,            // written, or the picture itself could not be encoded
    kPathTooLong,     // the output's path is longer than the platform allows
    kTargetInTheWay,  // the file to replace could not be replaced
    kFolderMissing,   // the folder is gone
    kReadOnly,        // the folder takes no new files
    kDiskFull,        // its disk has no room left
    kCannotWrite,     // the folder takes no new files, for another reason
};

// The output folder typed by the user, without the backslashes at its end.
std::string OutputFolder();

// Before a run starts: the folder's path leaves room for file names, the folder exists (a
// missing one is created when the user agrees) and takes a new file. Otherwise a message names
// the problem and the run does not start.
bool OutputFolderReady(const std::string& folder);

// A failure of the folder rather than of one picture: the run cannot go on.
bool StopsTheRun(WriteFailure failure);
// A failure to create a file in the folder, or to write one, by the platform's error code;
// `otherwise` for a code that says nothing about the folder.
WriteFailure FolderFailureOf(uint32_t error, WriteFailure otherwise);
// Tells the user why the run stopped.
void ReportStoppedRun(WriteFailure failure, const std::string& folder);

}  // namespace ruvelto::app
