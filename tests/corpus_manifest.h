// The picture corpus's manifest, as the corpus tests of every folder read it: each file's path
// (relative to the corpus) and the expectation the manifest gives it (valid, questionable,
// invalid).
#pragma once
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace ruvelto::corpus {

struct CorpusFile {
    std::string path;
    std::string expectation;
};

// Every manifest entry under the corpus folder `folder` (every entry when it is empty), in manifest
// order.
inline std::vector<CorpusFile> CorpusFiles(const std::string& folder) {
    std::ifstream manifest(std::string(RUVELTO_CORPUS) + "/MANIFEST.tsv");
    std::vector<CorpusFile> files;
    std::string line;
    while (std::getline(manifest, line)) {
        std::vector<std::string> cols;
        std::stringstream row(line);
        std::string col;
        while (std::getline(row, col, '\t')) cols.push_back(col);
        if (cols.size() < 5 || cols[0] == "path") continue;  // the heading line
        if (folder.empty() || cols[0].rfind(folder + "/", 0) == 0) files.push_back({cols[0], cols[4]});
    }
    return files;
}

}  // namespace ruvelto::corpus
