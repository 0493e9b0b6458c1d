// Benchmarks of the converter on a generated corpus (see leafsmith-corpus):
//   convert_benchmark PROJECT.lfx [google benchmark options]
// ConvertAllTopics converts the body of every page topic; ConvertOneBody converts one body of
// 5 or 10 MB made of the corpus's topic bodies, to show that the time grows linearly.
#include <benchmark/benchmark.h>

#include <iostream>
#include <string>

#include "core/project_option.h"
#include "text/all_text.h"
#include "text/text_analysis.h"

namespace {

leafsmith::TProjectOption* options = nullptr;
leafsmith::TAllText* text = nullptr;

leafsmith::TLFXText MakeConverter() {
    leafsmith::TLFXText converter;
    converter.Options = options;
    converter.LoadSigns();
    converter.AllText = text;
    return converter;
}

void ConvertAllTopics(benchmark::State& state) {
    leafsmith::TLFXText converter = MakeConverter();
    size_t bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        for (const leafsmith::TBlock& topic : text->Topics) {
            if (!topic.IsPage)
                continue;
            converter.InputLines = topic.SectionLines(2);
            bytes += converter.Convert().size();
        }
    }
    state.counters["html_MB"] = static_cast<double>(bytes) / 1e6;
}

void ConvertOneBody(benchmark::State& state) {
    const size_t target = static_cast<size_t>(state.range(0)) * 1024 * 1024;
    leafsmith::StringList body;
    size_t size = 0;
    while (size < target) {
        for (const leafsmith::TBlock& topic : text->Topics) {
            for (std::string& line : topic.SectionLines(2)) {
                size += line.size() + 2;
                body.push_back(std::move(line));
            }
            if (size >= target)
                break;
        }
    }
    leafsmith::TLFXText converter = MakeConverter();
    for (auto _ : state) {
        converter.InputLines = body;
        benchmark::DoNotOptimize(converter.Convert());
    }
}

BENCHMARK(ConvertAllTopics)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(ConvertOneBody)->Arg(5)->Arg(10)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: convert_benchmark PROJECT.lfx [benchmark options]\n";
        return 2;
    }
    leafsmith::TProjectOption project;
    project.LoadFromFile(argv[1]);
    leafsmith::TAllText topics;
    topics.AssignSeparatingOptions(project);
    topics.LoadFiles(project.FileList);
    topics.BuildStructure();
    options = &project;
    text = &topics;
    argv[1] = argv[0];
    benchmark::Initialize(&--argc, ++argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
