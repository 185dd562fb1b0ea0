// Fault rules: how they are written and when they fire.
#include "sim/faultplan.h"
#include "sim/registration.h"
#include "sim/virtualhandset.h"

#include "link/core/catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tolvan::sim {
namespace {

TEST(FaultRule, ParsesKindCodeAndOptions) {
    auto r = parseFaultRule("nak@1001,skip=2,count=5");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->kind, FaultKind::Nak);
    EXPECT_EQ(r->code, 0x1001);
    EXPECT_EQ(r->skip, 2);
    EXPECT_EQ(r->count, 5);

    r = parseFaultRule("split@1401,ms=40");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->kind, FaultKind::Split);
    EXPECT_EQ(r->value, 40);
    EXPECT_TRUE(r->isAnswerFault());

    r = parseFaultRule("model,value=0A,count=0");
    ASSERT_TRUE(r);
    EXPECT_FALSE(r->code);
    EXPECT_EQ(r->value, 10);
    EXPECT_EQ(r->count, 0);

    EXPECT_EQ(parseFaultRule("split")->value, 150);
    EXPECT_EQ(parseFaultRule("model")->value, 9);
    EXPECT_EQ(parseFaultRule("stray@7000")->code, 0x7000);
    EXPECT_FALSE(parseFaultRule("silence@20FF")->isAnswerFault());
    r = parseFaultRule("ignore-write@0104,count=0");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->kind, FaultKind::IgnoreWrite);
    EXPECT_EQ(r->code, 0x0104);
    EXPECT_FALSE(r->isAnswerFault());
    EXPECT_EQ(faultKindName(FaultKind::IgnoreWrite), "ignore-write");
}

TEST(FaultRule, RejectsWhatItCannotRead) {
    std::string error;
    EXPECT_FALSE(parseFaultRule("explode@1001", &error));
    EXPECT_NE(error.find("unknown fault kind"), std::string::npos);
    EXPECT_FALSE(parseFaultRule("nak@101", &error));
    EXPECT_FALSE(parseFaultRule("nak@10G1", &error));
    EXPECT_FALSE(parseFaultRule("nak,count=-1", &error));
    EXPECT_FALSE(parseFaultRule("nak,speed=3", &error));
    EXPECT_FALSE(parseFaultRule("stray,value=100", &error));
    EXPECT_FALSE(parseFaultRule("", &error));
}

TEST(FaultPlan, FiresAfterTheSkippedOccasionsForItsCount) {
    FaultPlan plan;
    plan.add(*parseFaultRule("nak@1001,skip=1,count=2"));
    std::vector<bool> fired;
    for (int i = 0; i < 5; ++i) {
        fired.push_back(!plan.take(0x1001, false).empty());
        // Other commands and answer occasions do not count.
        EXPECT_TRUE(plan.take(0x1002, false).empty());
        EXPECT_TRUE(plan.take(0x1001, true).empty());
    }
    EXPECT_EQ(fired, (std::vector<bool>{false, true, true, false, false}));
}

TEST(FaultPlan, CountZeroFiresEveryTimeAndRulesWithoutCodeMatchAll) {
    FaultPlan plan;
    plan.add(*parseFaultRule("bad-check,count=0"));
    for (const std::uint16_t code : {0x20FF, 0x7100, 0x1001, 0x5001}) {
        EXPECT_EQ(plan.take(code, true).size(), 1u);
    }
}

TEST(FaultPlan, PercentFiresThatShareOfTheOccasionsTheSameWayForTheSameSeed) {
    EXPECT_EQ(parseFaultRule("silence,count=0,percent=3")->percent, 3);
    EXPECT_EQ(parseFaultRule("nak")->percent, 100);
    EXPECT_FALSE(parseFaultRule("silence,percent=0"));
    EXPECT_FALSE(parseFaultRule("silence,percent=101"));
    auto firings = [](std::uint32_t seed) {
        FaultPlan plan;
        plan.seed(seed);
        plan.add(*parseFaultRule("silence@1001,count=0,percent=10"));
        std::vector<bool> fired;
        for (int i = 0; i < 2000; ++i) {
            fired.push_back(!plan.take(0x1001, false).empty());
        }
        return fired;
    };
    const std::vector<bool> one = firings(1);
    const auto count = std::count(one.begin(), one.end(), true);
    EXPECT_GT(count, 150);
    EXPECT_LT(count, 250);
    EXPECT_EQ(firings(1), one);
    EXPECT_NE(firings(2), one);
}

TEST(ChaosFault, AnswersItsFramesAtRandomThenNothingForGood) {
    const auto rule = parseFaultRule("chaos,seed=7,count=3");
    ASSERT_TRUE(rule);
    EXPECT_EQ(rule->kind, FaultKind::Chaos);
    EXPECT_EQ(rule->value, 7);
    EXPECT_EQ(parseFaultRule("chaos")->count, 30);
    EXPECT_FALSE(parseFaultRule("nak,seed=1")); // a seed belongs to chaos only

    // The same seed gives the same answers; after three frames the handset is silent.
    auto run = [&] {
        HandsetConfig config;
        config.faults.push_back(*rule);
        VirtualHandset handset(config);
        std::vector<link::Bytes> answers;
        const link::Bytes open = link::findCommand(link::cmd::kOpen)->fixedFrame;
        for (int i = 0; i < 6; ++i) {
            link::Bytes joined;
            for (const auto& burst : handset.receive(open, i * 1'000'000)) {
                joined.insert(joined.end(), burst.bytes.begin(), burst.bytes.end());
            }
            answers.push_back(joined);
        }
        return answers;
    };
    const std::vector<link::Bytes> first = run();
    EXPECT_EQ(first, run());
    for (int i = 3; i < 6; ++i) {
        EXPECT_TRUE(first[static_cast<std::size_t>(i)].empty()) << i;
    }
}

TEST(RegistrationScenario, ParsesOutcomeCauseDetailAndTime) {
    auto s = parseRegistrationScenario("failure,cause=40,detail=03,status=30,ms=500");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->outcome, RegistrationScenario::Outcome::Failure);
    EXPECT_EQ(s->cause, 0x40);
    EXPECT_EQ(s->detail, 0x03);
    EXPECT_EQ(s->failureStatus, 0x30);
    EXPECT_EQ(s->runningMs, 500);
    EXPECT_EQ(parseRegistrationScenario("abnormal")->outcome, RegistrationScenario::Outcome::Abnormal);
    EXPECT_FALSE(parseRegistrationScenario("failure,status=20"));
    EXPECT_FALSE(parseRegistrationScenario("maybe"));
}

} // namespace
} // namespace tolvan::sim
