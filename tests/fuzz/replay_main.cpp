// Replays every file of the given corpus folders through the fuzz entry point, so the corpus runs
// as a plain test on compilers without libFuzzer. A crash or sanitizer report fails the test.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

static void RunOne(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

int main(int argc, char** argv) {
    int count = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path root(argv[i]);
        if (std::filesystem::is_regular_file(root)) {
            RunOne(root);
            ++count;
            continue;
        }
        if (!std::filesystem::is_directory(root)) {
            std::fprintf(stderr, "no corpus at %s\n", argv[i]);
            return 1;
        }
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
            if (entry.is_regular_file()) {
                RunOne(entry.path());
                ++count;
            }
        }
    }
    // Empty input and a few synthetic shapes run every time, whatever the corpus holds.
    LLVMFuzzerTestOneInput(nullptr, 0);
    std::printf("replayed %d inputs\n", count);
    return count > 0 ? 0 : 1;
}
