#include "app/DropRule.h"

#include <gtest/gtest.h>

#include <set>

namespace tvx {
namespace {

struct Recorder {
    std::set<std::u16string> unopenable;
    std::vector<std::u16string> here, elsewhere;
    DropTargets Targets() {
        return {[this](const std::u16string& path) {
                    here.push_back(path);
                    return !unopenable.contains(path);
                },
                [this](const std::u16string& path) { elsewhere.push_back(path); }};
    }
};

TEST(DropRule, FirstFileOpensHereTheRestInNewInstances) {
    Recorder recorder;
    DispatchDroppedFiles({u"a", u"b", u"c"}, false, recorder.Targets());
    EXPECT_EQ(recorder.here, std::vector<std::u16string>{u"a"});
    EXPECT_EQ(recorder.elsewhere, (std::vector<std::u16string>{u"b", u"c"}));
}

TEST(DropRule, AFileThatFailsToOpenLetsTheNextTryHere) {
    Recorder recorder;
    recorder.unopenable = {u"a"};
    DispatchDroppedFiles({u"a", u"b", u"c"}, false, recorder.Targets());
    EXPECT_EQ(recorder.here, (std::vector<std::u16string>{u"a", u"b"}));
    EXPECT_EQ(recorder.elsewhere, std::vector<std::u16string>{u"c"});
}

TEST(DropRule, AnOpenFileIsNeverReplaced) {
    Recorder recorder;
    DispatchDroppedFiles({u"a", u"b"}, true, recorder.Targets());
    EXPECT_TRUE(recorder.here.empty());
    EXPECT_EQ(recorder.elsewhere, (std::vector<std::u16string>{u"a", u"b"}));
}

}  // namespace
}  // namespace tvx
