#include "PayloadPageFixture.h"

namespace {

// Tab through every hold field without typing: the whole percent shown (0 for 14 kg, 99 for
// 1999 kg) must not turn back into a mass.
TEST_F(PayloadPageTest, PassingThroughTheHoldFieldsChangesNoMass) {
    Enter(IDC_HOLD1_KG, "1999");
    Enter(IDC_HOLD2_KG, "14");
    const std::map<int, std::string> before = Fields();
    EXPECT_EQ(before.at(IDC_HOLD1_PERCENT), "99");
    EXPECT_EQ(before.at(IDC_HOLD2_PERCENT), "0");
    for (int id : {IDC_HOLD1_PERCENT, IDC_HOLD1_KG, IDC_HOLD2_PERCENT, IDC_HOLD2_KG}) {
        Driver().Focus(id);
        Driver().LeaveField();
        EXPECT_EQ(Fields(), before) << "after field " << id;
    }
    EXPECT_TRUE(Driver().TakeMessages().empty());
}

// A text typed and typed back is a change all the same: the field is taken.
TEST_F(PayloadPageTest, RetypedPercentIsTaken) {
    Enter(IDC_HOLD2_KG, "14");
    Enter(IDC_HOLD2_PERCENT, "00");
    EXPECT_EQ(Driver().Read(IDC_HOLD2_KG), "0");
}

} // namespace
