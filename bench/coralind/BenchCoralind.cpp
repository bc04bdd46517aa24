// Loads and compacts a 100,000-track library and adds 10,000 tracks through
// the object, beside a plain read and rewrite (and plain appends) of the same
// file as the reference. Our load also syncs the rewritten file to disk
// before renaming it over the old one; the reference does not.
#include "bench/BenchFigure.h"
#include "coralind/CoralindObject.h"
#include "platform/com/ComPtr.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int kTracks = 100000;
constexpr int kAdds = 10000;
constexpr int kRounds = 9;

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

// The best round: on a shared machine the others only measure the neighbours.
double Best(const std::vector<double>& v)
{
    return *std::min_element(v.begin(), v.end());
}

std::string TrackPath(int i)
{
    char buf[160];
    std::snprintf(buf, sizeof buf, "/home/member/Music/Artist %04d/Album %02d/%03d - Some Track Title, Live.mp3",
                  i % 5000, i % 37, i % 1000);
    return buf;
}

void WriteLibrary(const std::filesystem::path& file)
{
    FILE* f = std::fopen(file.c_str(), "w");
    for (int i = 0; i < kTracks; ++i)
        std::fprintf(f, "%d,%s\n", 100000 + i * 7, TrackPath(i).c_str());
    std::fclose(f);
}

// The reference load: every line read into memory, then the file written again.
void PlainReadAndRewrite(const std::filesystem::path& file)
{
    std::vector<std::string> lines;
    lines.reserve(kTracks);
    FILE* in = std::fopen(file.c_str(), "r");
    char buf[1024];
    while (std::fgets(buf, sizeof buf, in))
        lines.emplace_back(buf);
    std::fclose(in);
    FILE* out = std::fopen(file.c_str(), "w");
    for (const std::string& line : lines)
        std::fputs(line.c_str(), out);
    std::fclose(out);
}

void PlainAppends(const std::filesystem::path& file)
{
    for (int i = 0; i < kAdds; ++i) {
        FILE* f = std::fopen(file.c_str(), "a");
        std::fprintf(f, "%d,%s\n", 5000000 + i, TrackPath(i).c_str());
        std::fclose(f);
    }
}

}  // namespace

int main()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "bench-coralind-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        return 1;
    const std::filesystem::path folder = pattern;
    setenv("CORVANTA_DATA_DIR", folder.c_str(), 1);
    const std::filesystem::path library = folder / "tracks.txt";
    const std::filesystem::path plain = folder / "plain.txt";

    BSTR name = SysAllocString(u"tracks.txt");
    std::vector<double> loads, references, adds, appends;
    for (int round = 0; round < kRounds; ++round) {
        WriteLibrary(library);
        WriteLibrary(plain);
        sync();  // so our sync below does not also wait for the set-up's writes

        CComPtr<ICoralindObject> object;
        if (Failed(CCoralindObject::Create(nullptr, IID_ICoralindObject, object.Out())))
            return 1;
        auto start = Clock::now();
        if (object->LoadLibrary(name) != S_OK)
            return 1;
        loads.push_back(Ms(Clock::now() - start));

        start = Clock::now();
        PlainReadAndRewrite(plain);
        references.push_back(Ms(Clock::now() - start));

        std::vector<BSTR> paths;
        for (int i = 0; i < kAdds; ++i)
            paths.push_back(SysAllocStringUtf8(TrackPath(i)));
        start = Clock::now();
        for (int i = 0; i < kAdds; ++i)
            object->Add(5000000 + i, paths[static_cast<std::size_t>(i)]);
        adds.push_back(Ms(Clock::now() - start));
        for (BSTR p : paths)
            SysFreeString(p);

        start = Clock::now();
        PlainAppends(plain);
        appends.push_back(Ms(Clock::now() - start));
        object.Reset();  // compacts again, untimed
    }
    SysFreeString(name);

    PrintFigure("load and compact 100000 tracks", "plain read and rewrite", Best(loads), Best(references), "ms", 2);
    PrintFigure("10000 Add calls", "plain append", Best(adds), Best(appends), "ms", 2);

    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    return 0;
}
