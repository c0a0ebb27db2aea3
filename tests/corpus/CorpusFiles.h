// The extracted PPD corpus: where it lies, which files it holds, and the raw header lines of one
// file as they stand in its bytes (for telling why two parsers read a header value differently).
#ifndef HALYX_TESTS_CORPUS_CORPUSFILES_H
#define HALYX_TESTS_CORPUS_CORPUSFILES_H

#include <string>
#include <vector>

struct CorpusFile {
    std::string path;  // the extracted file
    std::string uri;   // where the driver keeps it
};

// The cache folder: $HALYX_PPD_CORPUS, else the default the fetch script uses.
std::string CorpusFolder();

// The files of a complete cache (one with its stamp), in index order; empty when the cache is
// missing or incomplete.
std::vector<CorpusFile> ListCorpus(const std::string& folder);

// Every `stride`-th file of `files` (from the first), plus the `largest` largest files, in index
// order: a smaller share of the corpus for slow builds that still holds its extremes.
std::vector<CorpusFile> SampleCorpus(const std::vector<CorpusFile>& files, size_t stride,
                                     size_t largest);

// The whole file; empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);

// Every statement of `keyword` ("*ModelName") in `bytes`: the text after its colon up to the end
// of its physical line (CR and LF not included).
std::vector<std::string> RawHeaderLines(const std::string& bytes, const std::string& keyword);

#endif  // HALYX_TESTS_CORPUS_CORPUSFILES_H
