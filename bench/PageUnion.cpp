// page_union: the memory of a group of processes with every physical page
// counted once, however many of them map it (the program's and its engine
// processes' shared memory, the libraries they all load), in MiB.
//
//   page_union PID...
//
// Prints one line:
//   union_mib=U anonymous_mib=A shared_mib=S file_mib=F rss_sum_mib=R
// U is every present page of every mapping of the processes, counted once by
// its page frame; A, S and F split it by the first mapping seen for the page:
// private anonymous memory (heap, stacks, anonymous maps), shared memory
// (memfd, /dev/shm, System V) and files (code, data files). R adds up the
// processes' resident sizes, each shared page as often as it is mapped, for
// comparison. Page frames are shown to root only: exits 2 without them.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

enum Kind : unsigned char { Anonymous, Shared, File };

struct Mapping {
    std::uint64_t start = 0, end = 0;
    Kind kind = Anonymous;
    long rssKb = 0;
};

Kind kindOf(const std::string &path)
{
    if (path.empty() || path[0] == '[')
        return Anonymous;
    if (path.rfind("/memfd:", 0) == 0 || path.rfind("/dev/shm/", 0) == 0 || path.rfind("/SYSV", 0) == 0)
        return Shared;
    return File;
}

// The mappings that hold any resident page, from smaps: the engine reserves
// many gigabytes of address space it never touches, not worth walking.
std::vector<Mapping> residentMappings(const std::string &pid)
{
    std::ifstream smaps("/proc/" + pid + "/smaps");
    std::vector<Mapping> mappings;
    std::string line;
    Mapping current;
    bool inMapping = false;
    while (std::getline(smaps, line)) {
        unsigned long long start = 0, end = 0;
        char dash = 0;
        std::istringstream in(line);
        if (in >> std::hex >> start >> dash >> end && dash == '-') {
            std::string perms, offset, device, inode, path;
            in >> perms >> offset >> device >> inode;
            std::getline(in >> std::ws, path);
            current = Mapping{start, end, kindOf(path), 0};
            // The fixed page of old system calls lies past what pagemap reads.
            inMapping = path != "[vsyscall]";
        } else if (inMapping && line.rfind("Rss:", 0) == 0) {
            current.rssKb = std::atol(line.c_str() + 4);
            if (current.rssKb > 0)
                mappings.push_back(current);
        }
    }
    return mappings;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: page_union PID...\n");
        return 2;
    }
    const long pageSize = sysconf(_SC_PAGESIZE);
    std::unordered_map<std::uint64_t, Kind> frames;
    frames.reserve(1 << 20);
    long rssKb = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string pid = argv[i];
        const int pagemap = open(("/proc/" + pid + "/pagemap").c_str(), O_RDONLY);
        if (pagemap < 0)
            continue; // ended meanwhile
        std::vector<std::uint64_t> entries;
        for (const Mapping &m : residentMappings(pid)) {
            rssKb += m.rssKb;
            const std::uint64_t first = m.start / std::uint64_t(pageSize);
            const std::uint64_t count = (m.end - m.start) / std::uint64_t(pageSize);
            entries.resize(count);
            const ssize_t got = pread(pagemap, entries.data(), count * sizeof(std::uint64_t), off_t(first * sizeof(std::uint64_t)));
            if (got < 0)
                continue;
            for (size_t e = 0; e < size_t(got) / sizeof(std::uint64_t); ++e) {
                const std::uint64_t entry = entries[e];
                if (!(entry >> 63))
                    continue; // not present (or in swap)
                const std::uint64_t frame = entry & ((std::uint64_t(1) << 55) - 1);
                if (frame == 0) {
                    std::fprintf(stderr, "page_union: page frames are hidden (run as root)\n");
                    return 2;
                }
                frames.emplace(frame, m.kind);
            }
        }
        close(pagemap);
    }
    double mib[3] = {0, 0, 0};
    for (const auto &[frame, kind] : frames)
        mib[kind] += double(pageSize) / (1024.0 * 1024.0);
    std::printf("union_mib=%.1f anonymous_mib=%.1f shared_mib=%.1f file_mib=%.1f rss_sum_mib=%.1f\n",
                mib[Anonymous] + mib[Shared] + mib[File], mib[Anonymous], mib[Shared], mib[File], rssKb / 1024.0);
    return 0;
}
