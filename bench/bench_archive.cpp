// Times the archive operations the window runs on a 10,000-draw archive (load, insert at the
// front, delete at the front, save, merge of a CSV file) against a plain version that reads
// the file ten, seventeen and two bytes at a time and converts every date on each insertion.
#include "bench/bench_common.h"
#include "core/archive.h"
#include "core/conversions.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>

using namespace quintor;
namespace fs = std::filesystem;

namespace {

double seconds(const std::function<void()>& work, int repeat = 5) {
    double best = 1e9;
    for (int i = 0; i < repeat; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

std::vector<ArchiveRecord> plainLoad(const fs::path& file) {
    std::vector<ArchiveRecord> records;
    std::ifstream in(file, std::ios::binary);
    char date[10], column[17], jolly[2];
    while (in.read(date, 10) && in.read(column, 17) && in.read(jolly, 2))
        records.push_back(ArchiveRecord::fromFileFields({date, 10}, {column, 17}, {jolly, 2}));
    return records;
}

void plainInsert(std::vector<ArchiveRecord>& records, const ArchiveRecord& record) {
    std::vector<std::chrono::sys_days> days;
    for (const auto& r : records)
        days.push_back(std::chrono::sys_days{*parseDate(r.date)});
    const auto day = std::chrono::sys_days{*parseDate(record.date)};
    std::size_t at = records.size();
    if (records.empty() || day < days.back())
        for (at = 0; at < records.size() && days[at] < day; ++at) {
        }
    records.insert(records.begin() + static_cast<std::ptrdiff_t>(at), record);
}

void report(const char* what, double fast, double plain) {
    std::printf("%-34s fast %8.3f ms   reference %8.3f ms   ratio %6.1f   budget 200 ms: %s\n",
                what, fast * 1e3, plain * 1e3, plain / fast, fast < 0.2 ? "ok" : "OLTRE");
    bench::Measure m;
    m.wall = m.wallLow = m.wallHigh = fast;
    bench::row(std::string("archivio 10000: ") + what + " (migliore di 5)", m, 0.2, plain);
}

} // namespace

int main() {
    const fs::path folder = fs::temp_directory_path() / "quintor-bench-archive";
    fs::create_directories(folder);
    const fs::path file = folder / "vincenti.dat";
    Archive sample = simulatedArchive(10000, 1);
    if (!sample.save(file)) {
        std::fprintf(stderr, "cannot write %s\n", file.c_str());
        return 1;
    }
    std::printf("archive of %zu draws, %ju bytes\n", sample.size(),
                static_cast<std::uintmax_t>(fs::file_size(file)));

    Archive loaded;
    std::vector<ArchiveRecord> plain;
    report("load", seconds([&] { loaded = Archive::load(file); }),
           seconds([&] { plain = plainLoad(file); }));

    const ArchiveRecord oldest = *recordFromEntry("01/01/2000", "1 2 3 4 5 6", "7");
    report("insert before the first record", seconds([&] {
               Archive copy = loaded;
               (void)copy.insert(oldest);
           }),
           seconds([&] {
               auto copy = plain;
               plainInsert(copy, oldest);
           }));
    // The copies above are part of both figures; this is the copy alone, for reading them.
    const double copyAlone = seconds([&] {
        // NOLINTNEXTLINE(performance-unnecessary-copy-initialization): the copy is what is timed
        Archive copy = loaded;
    });
    std::printf("%-34s %8.3f ms\n", "  (copy of the archive alone)", copyAlone * 1e3);

    report("delete the first record", seconds([&] {
               Archive copy = loaded;
               (void)copy.remove(0, 0);
           }),
           seconds([&] {
               auto copy = plain;
               copy.erase(copy.begin());
           }));

    report("save (temporary, then vincenti.dat)", seconds([&] { (void)loaded.save(file); }),
           seconds([&] {
               std::ofstream out(folder / "plain.dat", std::ios::binary);
               for (const auto& r : plain) {
                   out.write(r.date.data(), 10);
                   out.write(r.column.data(), 17);
                   out.write(r.jolly.data() + 1, 2);
               }
           }));

    const fs::path data = QUINTOR_SHARED_DATA;
    if (fs::exists(data / "draws.csv")) {
        auto draws = readDrawFile(data / "draws.csv");
        report("merge 2,855 real draws", seconds([&] {
                   Archive copy = loaded;
                   copy.merge(draws->draws);
               }),
               seconds(
                   [&] {
                       auto copy = plain;
                       for (const auto& d : draws->draws) {
                           bool present = false;
                           for (const auto& r : copy)
                               present = present || r.date == d.date;
                           if (!present)
                               plainInsert(copy, d);
                       }
                   },
                   1));
    } else {
        std::printf("real draws not found in %s: merge not timed\n", data.c_str());
    }
    fs::remove_all(folder);
    return 0;
}
