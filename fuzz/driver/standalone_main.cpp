// Runs a fuzz target without libFuzzer: every file named on the command
// line, then a fixed series of pseudo-random inputs (seeded, so a failure
// repeats), some of them mutations of the files. QH_FUZZ_RUNS sets how many.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
    std::vector<std::vector<uint8_t>> seeds;
    for (int i = 1; i < argc; ++i) {
        std::ifstream file(argv[i], std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
        seeds.push_back(std::move(bytes));
    }
    const char* runsText = std::getenv("QH_FUZZ_RUNS");
    long runs = runsText ? std::atol(runsText) : 2000;
    std::mt19937 random(12345);
    for (long run = 0; run < runs; ++run) {
        std::vector<uint8_t> input;
        if (!seeds.empty() && run % 2 == 0) {
            input = seeds[random() % seeds.size()];
            size_t flips = 1 + random() % 8;
            for (size_t k = 0; k < flips && !input.empty(); ++k)
                input[random() % input.size()] = static_cast<uint8_t>(random());
        } else {
            input.resize(random() % 4096);
            for (auto& b : input) b = static_cast<uint8_t>(random());
        }
        LLVMFuzzerTestOneInput(input.data(), input.size());
    }
    std::printf("%ld inputs ran clean\n", runs + static_cast<long>(seeds.size()));
    return 0;
}
