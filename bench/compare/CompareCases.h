// The PPD files the comparisons run on: the examples, and the largest files of the extracted
// openprinting corpus (see tests/corpus/fetch-corpus.sh).
#ifndef HALYX_BENCH_COMPARE_COMPARECASES_H
#define HALYX_BENCH_COMPARE_COMPARECASES_H

#include <cstdint>
#include <string>
#include <vector>

struct CompareCase {
    std::string label;  // short and unique: "HalyxSample.ppd", "Maker/Model.ppd"
    std::string path;
    std::uintmax_t bytes = 0;
};

// Every *.ppd of examples/, by name.
std::vector<CompareCase> ExampleCases();

// The `count` largest files of the corpus, largest first. Empty, with `why` saying so, when the
// corpus cache is missing or incomplete.
std::vector<CompareCase> LargestCorpusCases(size_t count, std::string* why);

#endif  // HALYX_BENCH_COMPARE_COMPARECASES_H
