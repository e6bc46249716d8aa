// The work a run does for one picture apart from the window: decoding it (resized when asked)
// into the image object of the calling thread and encoding each of its planned outputs into a
// temporary file of the output folder. It touches no window, so the run's worker threads do it
// side by side; putting the finished files in place is left to the run, in list order.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "app/output_folder.h"
#include "app/output_plan.h"

namespace ruvelto::app {

// The options a run works with, as they stood when it started: the controls stay live, and what
// the user changes meanwhile is for the next run.
struct RunOptions {
    std::string folder;
    std::vector<OutputFormat> formats;  // empty: each picture in its own format
    bool resize = false;
    bool byPercentage = false, customSize = false, keepProportions = false;
    int32_t percentage = 0, width = 0, height = 0;
    uint8_t quality = 0;
    bool stripPhotoInfo = false;  // outputs go without EXIF
};

// Why a picture was not converted when the picture itself was the cause (write failures are
// told by WriteFailure).
enum class PictureFailure { kNone, kNoExtension, kUnreadable, kBadSize, kFolderNotCreated };

// One planned output: the temporary file it was encoded into (empty when it was not), or why not.
struct EncodedOutput {
    std::string temporary;
    WriteFailure failure = WriteFailure::kNone;
};

struct ConvertedPicture {
    PictureFailure failure = PictureFailure::kNone;
    // The file's EXIF block could not be read; the outputs go without it.
    bool exifDropped = false;
    // One for each planned output, in order, as far as the work went: it ends after an output
    // whose failure stops the run (StopsTheRun).
    std::vector<EncodedOutput> outputs;
};

// Converts the picture in the image object of this thread (see ImageObjectScope).
ConvertedPicture ConvertPicture(const PlannedPicture& picture, const RunOptions& options);

// Deletes the temporary files of outputs that were not put in place.
void DiscardOutputs(ConvertedPicture& picture);

}  // namespace ruvelto::app
