// Example user function for Quintor: keeps the final columns whose numbers add up to a value
// inside a range, and drops the others. The range is read from filtrosomma.cfg beside the
// program ("minimo massimo", for instance "200 346"); without it the range is 180..366.
//
// The exchange with Quintor, all in the current folder (the program folder):
//   sistema.dat  1 byte m, then m bytes: the marked numbers, increasing
//   colonne.dat  4 bytes N (signed, little-endian), then N times 6 bytes: a column
//   finito.ok    created last, once both files above are complete
// A function that fails leaves finito.ok uncreated, and Quintor changes nothing.
#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <numeric>
#include <vector>

namespace {

using Column = std::array<std::uint8_t, 6>;

bool readColumns(std::vector<Column>& columns) {
    std::ifstream in("colonne.dat", std::ios::binary);
    if (!in)
        return false;
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                    std::istreambuf_iterator<char>()};
    if (in.bad() || bytes.size() < 4)
        return false;
    const std::uint32_t raw =
        bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
    const auto count = static_cast<std::int32_t>(raw);
    if (count < 0 || (bytes.size() - 4) / 6 < static_cast<std::size_t>(count))
        return false;
    columns.resize(static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < columns.size(); ++i)
        for (std::size_t k = 0; k < 6; ++k)
            columns[i][k] = bytes[4 + 6 * i + k];
    return true;
}

bool writeColumns(const std::vector<Column>& columns) {
    std::ofstream out("colonne.dat", std::ios::binary | std::ios::trunc);
    const auto count = static_cast<std::uint32_t>(columns.size());
    for (int i = 0; i < 4; ++i)
        out.put(static_cast<char>(count >> (8 * i)));
    for (const Column& column : columns)
        out.write(reinterpret_cast<const char*>(column.data()), 6);
    out.close();
    return !out.fail();
}

} // namespace

int main() {
    int low = 180;
    int high = 366;
    if (std::ifstream settings("filtrosomma.cfg"); settings && !(settings >> low >> high)) {
        std::cerr << "filtrosomma.cfg: servono due numeri, il minimo e il massimo\n";
        return 1;
    }

    std::vector<Column> columns;
    if (!readColumns(columns)) {
        std::cerr << "colonne.dat mancante o non valido\n";
        return 1;
    }
    std::vector<Column> kept;
    for (const Column& column : columns) {
        const int sum = std::accumulate(column.begin(), column.end(), 0);
        if (sum >= low && sum <= high)
            kept.push_back(column);
    }
    // sistema.dat is left as it is: the marked numbers do not change.
    if (!writeColumns(kept)) {
        std::cerr << "impossibile scrivere colonne.dat\n";
        return 1;
    }
    std::ofstream("finito.ok").put('\n');
    std::cout << "tenute " << kept.size() << " colonne su " << columns.size() << " (somma " << low
              << ".." << high << ")\n";
    return 0;
}
