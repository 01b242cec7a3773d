// The trim on Linux, the counterpart of emptying a working set: freed heap
// goes back to the system, clean file-backed pages leave the process's
// resident set (they stay in the page cache and come back on a soft fault),
// and the kernel is asked to page out the rest where it can (with swap).
#include "../MemoryTrim.h"

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#ifndef MADV_PAGEOUT
#define MADV_PAGEOUT 21
#endif

namespace {

// The kernel answers EINVAL for advice it does not know; a page of our own
// tells whether it knows page-out.
bool ProbePageOut()
{
    const long page = sysconf(_SC_PAGESIZE);
    if (page <= 0)
        return false;
    void* p = mmap(nullptr, static_cast<size_t>(page), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED)
        return false;
    static_cast<char*>(p)[0] = 1;
    const bool known = madvise(p, static_cast<size_t>(page), MADV_PAGEOUT) == 0;
    munmap(p, static_cast<size_t>(page));
    return known;
}

struct Mapping {
    unsigned long Start = 0, End = 0;
    char Perms[5] = {};
    bool File = false;      // backed by a file, not anonymous memory
    bool Special = false;   // the kernel's own pages, or a device
    long AnonymousKb = -1;  // private pages written since mapped
};

void Trim(const Mapping& M)
{
    if (M.Special || M.End <= M.Start)
        return;
    void* start = reinterpret_cast<void*>(M.Start);
    const size_t length = M.End - M.Start;
    const bool shared = M.Perms[3] == 's';
    const bool writable = M.Perms[1] == 'w';
    // Dropping pages is lossless only where the file (or shared memory)
    // holds every byte: shared mappings, and private ones never written.
    // Anything else would lose data, so it is only offered for page-out.
    if (M.File && (shared || (!writable && M.AnonymousKb == 0)))
        madvise(start, length, MADV_DONTNEED);
    else
        madvise(start, length, MADV_PAGEOUT);
}

}  // namespace

bool MemoryTrimSupported = ProbePageOut();

void TrimWorkingSet()
{
    malloc_trim(0);
    FILE* smaps = std::fopen("/proc/self/smaps", "re");
    if (!smaps)
        return;
    Mapping current;
    bool have = false;
    char line[4096];
    while (std::fgets(line, sizeof line, smaps)) {
        unsigned long start = 0, end = 0;
        char perms[5] = {};
        unsigned long offset = 0, inode = 0;
        char dev[16] = {};
        int pathAt = 0;
        if (std::sscanf(line, "%lx-%lx %4s %lx %15s %lu %n", &start, &end, perms, &offset, dev, &inode, &pathAt) >= 6) {
            if (have)
                Trim(current);
            current = Mapping{};
            current.Start = start;
            current.End = end;
            std::memcpy(current.Perms, perms, sizeof current.Perms);
            const char* path = line + pathAt;
            current.File = inode != 0 && path[0] == '/';
            // [vdso], [vvar], [vsyscall]: the kernel's; /dev/...: device memory.
            current.Special = std::strncmp(path, "[v", 2) == 0 || std::strncmp(path, "/dev/", 5) == 0;
            have = true;
        } else if (have) {
            long kb = 0;
            if (std::sscanf(line, "Anonymous: %ld kB", &kb) == 1)
                current.AnonymousKb = kb;
        }
    }
    if (have)
        Trim(current);
    std::fclose(smaps);
}
