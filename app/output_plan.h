// The outputs of a run, worked out before its first picture is written: no output may land on
// another output of the same run or on a picture of the list, and an output that would replace
// its own source is the user's call. Portable: the caller says how paths compare and which
// files exist.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace ruvelto::app {

// One format a run writes: its format number and its file extension (".png").
struct OutputFormat {
    int32_t format;
    std::string extension;
};

// A picture of the run: its list row, its own file, the name shown in the list, and the folder
// relative to the output folder its outputs go into (empty: the output folder itself).
struct PictureToPlan {
    int32_t row;
    std::string source;
    std::string name;
    std::string subfolder;
};

struct PlannedOutput {
    int32_t format;
    std::string path;
};

struct PlannedPicture {
    int32_t row;
    std::string source;
    std::vector<PlannedOutput> outputs;  // none for a name without extension
    bool inSubfolder = false;            // its outputs go below the output folder, which may lack the folders
};

struct OutputPlan {
    std::vector<PlannedPicture> pictures;
    int32_t renamed = 0;  // outputs that were given a numbered name
};

// What the plan needs to know of the file system.
struct PlanPlaces {
    std::function<std::string(const std::string&)> key;  // equal keys name the same file
    std::function<bool(const std::string&)> exists;       // a file or folder of that path exists
};

// The outputs a picture asks for, before any renaming: into `folder` (or its subfolder), under the part of its
// name before the first "." plus each format's extension; without formats (no conversion),
// under its own name in its own format.
std::vector<PlannedOutput> OutputsOf(const PictureToPlan& picture, const std::string& folder,
                                     const std::vector<OutputFormat>& formats);

// How many different pictures the run would replace by their own outputs.
int32_t InPlaceCount(const std::vector<PictureToPlan>& pictures, const std::string& folder,
                     const std::vector<OutputFormat>& formats, const PlanPlaces& places);

// The run's outputs, in row order. An output that repeats one planned before it, that is a
// listed picture other than its own source, or that is its own source when `replaceSources` is
// false, gets the first numbered name ("a (2).png", "a (3).png"...) that is neither planned,
// listed nor an existing file.
OutputPlan PlanOutputs(const std::vector<PictureToPlan>& pictures, const std::vector<std::string>& listed,
                       const std::string& folder, const std::vector<OutputFormat>& formats, bool replaceSources,
                       const PlanPlaces& places);

// The path with " (n)" before the extension of its file name.
std::string NumberedPath(const std::string& path, int32_t n);

// A key for comparing Windows paths: ASCII letters folded to lower case, GBK characters kept
// whole.
std::string FoldedPath(const std::string& path);

}  // namespace ruvelto::app
