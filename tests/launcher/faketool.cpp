// Stands in for a tool the launcher starts. It writes how it was started (argv[0] and the
// working folder) to the file named by LAUNCHER_FAKE_TOOL_MARKER, then stays until a file of
// the same name plus ".release" appears, so a test decides when the tool ends. It gives up
// after 15 s so that a broken test cannot leave it behind.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

int main(int, char** argv) {
    const char* marker = std::getenv("LAUNCHER_FAKE_TOOL_MARKER");
    if (marker == nullptr) {
        return 2;
    }
    const std::filesystem::path markerPath(marker);
    auto releasePath = markerPath;
    releasePath += ".release";
    {
        const auto partial = markerPath.string() + ".part";
        std::ofstream out(partial);
        out << argv[0] << '\n' << std::filesystem::current_path().string() << '\n';
        out.close();
        std::filesystem::rename(partial, markerPath);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (!std::filesystem::exists(releasePath)) {
        if (std::chrono::steady_clock::now() > deadline) {
            return 3;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return 0;
}
