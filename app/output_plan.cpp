#include "app/output_plan.h"

#include <unordered_set>

#include "app/picture_formats.h"

namespace ruvelto::app {
namespace {

// Far more numbers than any folder holds pictures of one name; past them the output is left
// unwritten rather than searched for without end.
constexpr int32_t kLastNumber = 100000;

bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

}  // namespace

std::string FoldedPath(const std::string& path) {
    std::string folded = path;
    for (size_t i = 0; i < folded.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(folded[i]);
        if (IsLeadByte(c) && i + 1 < folded.size()) {
            ++i;
            continue;
        }
        if (c >= 'A' && c <= 'Z') folded[i] = static_cast<char>(c - 'A' + 'a');
    }
    return folded;
}

std::string NumberedPath(const std::string& path, int32_t n) {
    const std::string name = FileNameOf(path);
    const size_t nameStart = path.size() - name.size();
    const size_t dot = name.rfind('.');
    const size_t at = dot == std::string::npos ? path.size() : nameStart + dot;
    return path.substr(0, at) + " (" + std::to_string(n) + ")" + path.substr(at);
}

std::vector<PlannedOutput> OutputsOf(const PictureToPlan& picture, const std::string& folder,
                                     const std::vector<OutputFormat>& formats) {
    std::vector<PlannedOutput> outputs;
    const std::string extension = ExtensionOf(picture.source);
    if (extension.empty()) return outputs;
    const std::string into = folder + "\\" + (picture.subfolder.empty() ? "" : picture.subfolder + "\\");
    if (formats.empty()) {
        outputs.push_back({FormatOfExtension(extension), into + picture.name});
        return outputs;
    }
    for (const OutputFormat& format : formats)
        outputs.push_back({format.format, into + BaseNameOf(picture.name) + format.extension});
    return outputs;
}

int32_t InPlaceCount(const std::vector<PictureToPlan>& pictures, const std::string& folder,
                     const std::vector<OutputFormat>& formats, const PlanPlaces& places) {
    std::unordered_set<std::string> replaced;
    for (const PictureToPlan& picture : pictures) {
        const std::string own = places.key(picture.source);
        for (const PlannedOutput& output : OutputsOf(picture, folder, formats))
            if (places.key(output.path) == own) replaced.insert(own);
    }
    return static_cast<int32_t>(replaced.size());
}

OutputPlan PlanOutputs(const std::vector<PictureToPlan>& pictures, const std::vector<std::string>& listed,
                       const std::string& folder, const std::vector<OutputFormat>& formats, bool replaceSources,
                       const PlanPlaces& places) {
    std::unordered_set<std::string> listedKeys, planned;
    for (const std::string& source : listed) listedKeys.insert(places.key(source));
    OutputPlan plan;
    for (const PictureToPlan& picture : pictures) {
        PlannedPicture entry{picture.row, picture.source, {}, !picture.subfolder.empty()};
        const std::string own = places.key(picture.source);
        for (PlannedOutput output : OutputsOf(picture, folder, formats)) {
            const std::string key = places.key(output.path);
            const bool inPlace = key == own;
            const bool taken = planned.count(key) || (inPlace ? !replaceSources : listedKeys.count(key) != 0);
            if (taken) {
                std::string numbered;
                for (int32_t n = 2; n <= kLastNumber && numbered.empty(); ++n) {
                    const std::string candidate = NumberedPath(output.path, n);
                    const std::string candidateKey = places.key(candidate);
                    if (!planned.count(candidateKey) && !listedKeys.count(candidateKey) && !places.exists(candidate))
                        numbered = candidate;
                }
                // No name left: an empty path, which the run cannot write and reports.
                output.path = numbered;
                ++plan.renamed;
            }
            if (!output.path.empty()) planned.insert(places.key(output.path));
            entry.outputs.push_back(output);
        }
        plan.pictures.push_back(std::move(entry));
    }
    return plan;
}

}  // namespace ruvelto::app
