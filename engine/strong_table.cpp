#include "engine/strong_table.h"
#include "engine/uci_output.h"

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace {

constexpr int64_t bytes_per_mb = 1024 * 1024;
constexpr int64_t no_memory_limit = -1;

int64_t physical_bytes() {
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long page_size = sysconf(_SC_PAGESIZE);
    return pages > 0 && page_size > 0 ? int64_t{pages} * page_size : no_memory_limit;
}

// A container's limit: the kernel kills a process that touches more, whatever it allocated.
int64_t control_group_bytes() {
    std::FILE *file = std::fopen("/sys/fs/cgroup/memory.max", "r");
    if (!file) return no_memory_limit;
    long long limit = 0;
    const bool read = std::fscanf(file, "%lld", &limit) == 1 && limit > 0; // "max": no limit
    std::fclose(file);
    return read ? limit : no_memory_limit;
}

} // namespace

int64_t spare_megabytes() {
    int64_t bytes = physical_bytes();
    const int64_t group = control_group_bytes();
    if (group != no_memory_limit && (bytes == no_memory_limit || group < bytes)) bytes = group;
    if (bytes == no_memory_limit) return max_hash_mb;
    return std::max<int64_t>(1, bytes / bytes_per_mb / 2);
}

void size_strong_table(transposition_table *table, int megabytes) {
    const int before = table->buckets ? table->megabytes : 0;
    int size = megabytes;
    for (const int64_t spare = spare_megabytes(); size > spare && size > 1;) size /= 2;
    for (;;) {
        if (resize_table(table, size)) {
            if (size != megabytes)
                send_info_string("Hash: %d MB cannot be had here; the table has %d MB", megabytes,
                                 size);
            return;
        }
        if (size / 2 <= before || size == 1) break;
        size /= 2;
    }
    if (before)
        send_info_string("Hash: %d MB cannot be had here; the table stays at %d MB", megabytes,
                         before);
    else
        send_info_string("Hash: %d MB cannot be had here; the strong player has no table",
                         megabytes);
}
