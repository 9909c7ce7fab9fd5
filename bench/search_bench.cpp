// The prefix search without the result list: one pass over the search keys, as each
// keystroke makes. The goal is under 5 µs per search.
#include <benchmark/benchmark.h>

#include <string>

#include "browser/prefix_search.h"
#include "catalogue/catalogue.h"

namespace {

struct SearchText {
    const char8_t* name;  // UTF-8 for the report
    const char* gbk;      // what the search box holds
};

// A common first character, a two-character word, the longest key, no match.
const SearchText texts[] = {
    {u8"到", "到"},
    {u8"激活", "激活"},
    {u8"网页访问（对象） - 网页", "网页访问（对象） - 网页"},
    {u8"zzz", "zzz"},
};

void search(benchmark::State& state, std::string text) {
    int matches = 0;
    for (auto _ : state) {
        matches = 0;
        for (const catalogue::SearchKey& key : catalogue::search_keys())
            if (browser::prefix_match(key.key, text))
                ++matches;
        benchmark::DoNotOptimize(matches);
    }
    state.counters["matches"] = matches;
}

}  // namespace

int main(int argc, char** argv) {
    for (const SearchText& t : texts)
        benchmark::RegisterBenchmark(("prefix_search/" + std::string(reinterpret_cast<const char*>(t.name))).c_str(), search,
                                     std::string(t.gbk));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
