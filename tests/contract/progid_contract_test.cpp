// The ProgID probe against the class registration in the registry, made
// without any COM initialisation.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fonction/progid.h"
#include "support/regwrite.h"

namespace {

const std::u16string kClasses = u"Software\\Classes\\";

TEST(ProgIdContract, ResolvesWhatTheClassesKeyRegisters) {
    testsupport::RegistrySandbox sandbox;
    const std::vector<std::u16string> ids = {u"KorvalendTests.Good.1", u"KorvalendTests.Bad.1",
                                             u"KorvalendTests.NoClsid.1"};
    for (const auto& id : ids) (void)sandbox.deleteTree(kClasses + id);
    ASSERT_TRUE(sandbox.setString(kClasses + u"KorvalendTests.Good.1\\CLSID", u"",
                                  u"{6E2B6F1A-3C1D-4B7E-9A51-2F0C8D7E4B10}"));
    ASSERT_TRUE(sandbox.setString(kClasses + u"KorvalendTests.Bad.1\\CLSID", u"", u"not a class id"));
    ASSERT_TRUE(sandbox.createKey(kClasses + u"KorvalendTests.NoClsid.1"));

    struct Case {
        std::u16string progId;
        bool found;
    };
    const std::vector<Case> cases = {
        {u"KorvalendTests.Good.1", true},
        {u"korvalendtests.good.1", true},
        {u"KorvalendTests.Good", false},
        {u"KorvalendTests.Bad.1", false},
        {u"KorvalendTests.NoClsid.1", false},
        {u"KorvalendTests.Missing.1", false},
        {u"", false},
        {std::u16string(5000, u'x'), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fonction::PROGIDEXISTS(c.progId), c.found) << std::string(c.progId.begin(), c.progId.end());
    for (const auto& id : ids) (void)sandbox.deleteTree(kClasses + id);
}

}  // namespace
