#pragma once
// A hex view on fake host and measurer with round numbers: cells 10 DIPs, rows 22 DIPs,
// offset column 90, hex column 480, text column 160; 980 x 700 pixels at 96 DPI show 31 rows.

#include "hexview/HexView.h"
#include "tests/hexview/HexViewFakes.h"

#include <gtest/gtest.h>

#include <numeric>

namespace tvx::test {

class HexViewTest : public ::testing::Test {
protected:
    HexViewTest() { measurer.lineHeight = 19.6f; }

    // Opens a document of `size` bytes 0, 1, 2, ... and forgets the events so far.
    void Open(std::size_t size) {
        std::vector<std::uint8_t> bytes(size);
        std::iota(bytes.begin(), bytes.end(), std::uint8_t{0});
        document.bytes_ = std::move(bytes);
        view.SetDocument(&document);
        host.events = {};
    }
    void Editable() { view.SetEditingEnabled(true); host.events = {}; }
    void InsertMode() {
        Editable();
        ASSERT_TRUE(view.KeyDown(HexKey::Insert, false));
        host.events = {};
    }

    FakeHost host;
    FakeMeasurer measurer;
    HexView view{host, measurer};
    MemoryDocument document;
};

}  // namespace tvx::test
