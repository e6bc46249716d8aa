// The picture corpus's manifest, as the corpus tests of every folder read it: each file's path
// (relative to the corpus) and the expectation the manifest gives it (valid, questionable,
// invalid); and the corpus files themselves.
#pragma once
#include <cstdint>
#include <fstream>
#include <iterator>
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

// The Unix path of a corpus file, from its path relative to the corpus.
inline std::string CorpusPath(const std::string& relative) { return std::string(RUVELTO_CORPUS) + "/" + relative; }

// A file's bytes; empty when it cannot be read.
inline std::vector<uint8_t> ReadFileBytes(const std::string& unixPath) {
    std::ifstream in(unixPath, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace ruvelto::corpus
