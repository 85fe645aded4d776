// "demo_board": the tutorial's fixed starting board, 22 rows of 7 signed
// bytes (BlobType per cell, row 0 at the top of the hidden spawn rows).
//
// It is built for the tutorial's script, which starts chains at fixed cells
// and moves the cursor cell by cell. Tracing the script with the blobs
// falling after each chain gives, for every cell the script touches, the cell
// of this board it comes from; those cells hold the chain colours below, the
// wildcard, skull, bomb and smart bomb the pages point at, and the rest is an
// even mix of the four Casual colours that keeps at least five moves on the
// field after every fall, for any colour the smart bomb may take. Cells the
// script touches all come from this board, never from the random refills, so
// the tutorial plays the same whatever the refills bring and however long
// each page is read. (The script takes 16 cells of column 3, more than its 11
// hidden ones: refills reach that column's top rows after the page-9 chain,
// where nothing scripted looks any more; the smart bomb's sweep at the very
// end may pull a few into other columns too.)
//
//   chain cells (start first)               colour
//   page 4-6:  (3,16) (3,17) (4,17) (4,18)  red
//   page 7:    (4,16) (3,18) (3,15)         yellow
//              (2,19) (2,18) (3,14) (3,13) (3,12)  green
//              (3,9)  (2,14) (2,13)         blue
//   page 8:    (4,11) (3,6) (3,5) (2,9) (2,10) (1,14)  red (the cancelled
//              chain is its first four cells in another order)
//   page 9:    (2,12) [wildcard (3,8)] (3,10) (3,11) (2,16) (2,17)  yellow
//   skull (3,4), bomb (4,15), smart bomb (2,6)
// (column, row of this board).
#include <cstdint>
#include <vector>

#include "tools/assetgen/AssetSink.h"
#include "tools/assetgen/Families.h"

namespace Lumo::AssetGen {

namespace {

constexpr int8_t kBoard[22][7] = {
    {1, 2, 1, 2, 2, 0, 3}, {0, 2, 2, 2, 1, 1, 0}, {0, 1, 2, 3, 0, 1, 3}, {1, 1, 3, 0, 2, 1, 1},
    {2, 1, 1, 8, 2, 2, 1}, {2, 2, 2, 0, 0, 3, 2}, {0, 1, 7, 0, 2, 1, 3}, {3, 0, 2, 2, 1, 1, 3},
    {1, 2, 2, 5, 0, 0, 2}, {2, 3, 0, 3, 3, 3, 0}, {2, 3, 0, 1, 3, 3, 3}, {0, 2, 3, 1, 0, 3, 1},
    {1, 2, 1, 2, 2, 0, 3}, {0, 2, 3, 2, 1, 3, 2}, {2, 0, 3, 2, 0, 0, 1}, {1, 2, 3, 1, 6, 3, 3},
    {2, 1, 1, 0, 1, 3, 1}, {2, 2, 1, 0, 0, 2, 3}, {0, 1, 2, 1, 0, 3, 3}, {3, 0, 2, 3, 0, 3, 1},
    {0, 3, 3, 2, 1, 0, 0}, {2, 2, 1, 3, 0, 0, 1},
};

} // namespace

void MakeDemoBoard(AssetSink& sink)
{
    std::vector<uint8_t> bytes;
    for (const auto& row : kBoard)
        for (int8_t cell : row)
            bytes.push_back(static_cast<uint8_t>(cell));
    sink.AddFile("demo_board", bytes, true);
}

} // namespace Lumo::AssetGen
