#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/database.h"
#include "flow/running_flow.h"
#include "tests/flow/flow_fixture.h"

namespace {

// A code command that counts its runs in stage variable `variable`: each entry marks the steps
// in which it ran in a variable of its own.
cCommandData CountingCommand(int variable, int parallel)
{
    cCommandData command = FlowCommand(COMMAND_CODE, parallel);
    const std::string name = "S" + std::to_string(variable);
    command.m_strCode = name + " = " + name + " + 1";
    return command;
}

struct ENTRYSPEC {
    int parallel;
    int duration;   // steps
};

struct RUNSPAN {
    int first = 0;   // step numbers from 1; 0: never ran
    int last = 0;

    bool operator==(const RUNSPAN&) const = default;
};

struct FLOWRUN {
    std::vector<RUNSPAN> spans;
    int finished = 0;   // the step that reported the flow finished

    bool operator==(const FLOWRUN&) const = default;
};

std::ostream& operator<<(std::ostream& out, const FLOWRUN& run)
{
    for (const RUNSPAN& span : run.spans) out << "[" << span.first << "," << span.last << "] ";
    return out << "finished " << run.finished;
}

// Runs a flow of counting commands with the given durations, step by step, and records the
// steps in which each entry ran.
FLOWRUN RunEntries(const std::vector<ENTRYSPEC>& entries)
{
    FlowStageFixture stage;
    stage.Scene().m_StageVars.assign(255, 0);
    const auto variable = [](std::size_t j) { return static_cast<int>(j) + 1; };
    cFlowData flow = FlowOf(TRIGGER_NONE, {});
    for (std::size_t j = 0; j < entries.size(); ++j)
        flow.m_Commands.push_back(CountingCommand(variable(j), entries[j].parallel));
    stage.SetFlows({flow});
    cRunningFlow& running = stage.Chara().m_RunningFlows[0];
    for (std::size_t j = 0; j < entries.size(); ++j) running.m_Entries[j].m_nDuration = entries[j].duration;

    FLOWRUN run;
    run.spans.resize(entries.size());
    running.Start(stage.Chara());
    for (int step = 1; step <= 40 && run.finished == 0; ++step) {
        std::vector<int> before(entries.size());
        for (std::size_t j = 0; j < entries.size(); ++j) before[j] = stage.Scene().m_StageVars.At(variable(j));
        if (running.Step(stage.Chara())) run.finished = step;
        for (std::size_t j = 0; j < entries.size(); ++j) {
            if (stage.Scene().m_StageVars.At(variable(j)) == before[j]) continue;
            if (run.spans[j].first == 0) run.spans[j].first = step;
            run.spans[j].last = step;
        }
    }
    return run;
}

}  // namespace

TEST(RunningFlow, EntriesStartAndEndByTheirKindAndDuration)
{
    constexpr int P = 1;
    constexpr int W = 0;
    struct Case {
        std::vector<ENTRYSPEC> entries;
        FLOWRUN run;
    } cases[] = {
        // Each waiting entry starts on the step after the previous one finished.
        {{{W, 2}, {W, 0}, {W, 3}}, {{{1, 2}, {3, 3}, {4, 6}}, 6}},
        // A time of 0 runs for exactly one step.
        {{{W, 0}}, {{{1, 1}}, 1}},
        // Parallel entries before a waiting one start with it; the last entry ends the flow
        // even while an earlier parallel one still runs.
        {{{P, 3}, {P, 1}, {W, 2}}, {{{1, 2}, {1, 1}, {1, 2}}, 2}},
        // A parallel entry lets the next one start in the same step.
        {{{W, 1}, {P, 2}, {W, 1}}, {{{1, 1}, {2, 2}, {2, 2}}, 2}},
        {{{W, 2}, {P, 3}}, {{{1, 2}, {3, 5}}, 5}},
        // A parallel entry keeps running while the waiting ones after it take their turns.
        {{{P, 4}, {W, 1}, {W, 1}, {W, 3}}, {{{1, 4}, {1, 1}, {2, 2}, {3, 5}}, 5}},
    };
    for (const Case& c : cases) EXPECT_EQ(RunEntries(c.entries), c.run);
}

TEST(RunningFlow, DurationsCountTenthsOfSixFramesOfSubStepsWithTheCopyStagger)
{
    FlowStageFixture stage(3);
    cCommandData command = FlowCommand(COMMAND_WAIT, 0, 5);
    command.m_nTimePerFactor = 1;
    stage.Chara().m_sCopyIndex = 2;
    stage.SetFlows({FlowOf(TRIGGER_NONE, {command, FlowCommand(COMMAND_WAIT, 0, 0)})});
    EXPECT_EQ(stage.Chara().m_RunningFlows[0].m_Entries[0].m_nDuration, (1 * 2 + 5) * 6 * 3);
    EXPECT_EQ(stage.Chara().m_RunningFlows[0].m_Entries[1].m_nDuration, 0);
}

namespace {

// Anime 1 of the database: a lead-in of `leadInTenths`, then a locked frame.
void SetUpLeadInAnime(int leadInTenths)
{
    g_Database.m_Animes.assign(2, cAnimeData());
    cSafeVector<cAnimeFrameData>& frames = g_Database.m_Animes[1].m_Frames;
    frames.assign(3, cAnimeFrameData());
    frames[0].m_nDuration = leadInTenths - 1;
    frames[1].m_nDuration = 1;
    frames[2].m_nDuration = 4;
    frames[2].m_bLock = 1;
}

}  // namespace

TEST(RunningFlow, CommandAnimationsAreScheduledSoThatTheirLeadInEndsAsTheCommandStarts)
{
    struct Case {
        int subSteps;
        std::vector<ENTRYSPEC> before;   // the entries before the animated command
        int kind;
        int start, skip, play, hold;
    } cases[] = {
        // 3 tenths at n = 1 is an 18-step lead-in; the command starts at step 10.
        {1, {{0, 10}}, COMMAND_WARP, 0, 8, 10, 1},
        {1, {{0, 12}, {0, 12}}, COMMAND_WARP, 6, 0, 18, 1},
        {1, {{0, 18}}, COMMAND_WARP, 0, 0, 18, 1},
        // Parallel entries take no time before the command.
        {1, {{1, 30}, {0, 20}}, COMMAND_WARP, 2, 0, 18, 1},
        // At n = 2 the lead-in lasts 36 steps; frames skipped are steps / n.
        {2, {{0, 10}}, COMMAND_WARP, 0, 13, 5, 1},
        {1, {}, COMMAND_JUMP, 0, 18, 0, 0},
        {1, {{0, 40}}, COMMAND_SWORD, 22, 0, 18, 0},
    };
    for (const Case& c : cases) {
        FlowStageFixture stage(c.subSteps);
        SetUpLeadInAnime(3);
        cFlowData flow = FlowOf(TRIGGER_NONE, {});
        for (const ENTRYSPEC& entry : c.before) flow.m_Commands.push_back(FlowCommand(COMMAND_WAIT, entry.parallel));
        cCommandData animated = FlowCommand(c.kind, 0, 2);
        animated.m_nAnime = 1;
        flow.m_Commands.push_back(animated);
        stage.SetFlows({flow});
        cRunningFlow& running = stage.Chara().m_RunningFlows[0];
        for (std::size_t j = 0; j < c.before.size(); ++j) running.m_Entries[j].m_nDuration = c.before[j].duration;
        BuildAnimeSchedule(running, c.subSteps);

        ASSERT_EQ(running.m_AnimeSchedule.size(), 1u);
        const FLOWANIME& anime = running.m_AnimeSchedule[0];
        EXPECT_EQ(anime.nStartStep, c.start) << c.before.size();
        EXPECT_EQ(anime.nSkip, c.skip) << c.before.size();
        EXPECT_EQ(anime.nPlay, c.play) << c.before.size();
        EXPECT_EQ(anime.nAnime, 1);
        EXPECT_EQ(anime.nCommandFrames, 12);
        EXPECT_EQ(anime.bHold, c.hold);
    }
}

TEST(RunningFlow, AScheduledAnimationStartsAtItsStepWhileTheFlowRunsUnpaused)
{
    FlowStageFixture stage;
    SetUpLeadInAnime(1);   // 6 steps
    cCommandData animated = FlowCommand(COMMAND_WARP, 0, 2);
    animated.m_nAnime = 1;
    stage.SetFlows({FlowOf(TRIGGER_NONE, {FlowCommand(COMMAND_WAIT, 0, 2), animated})});
    cChara& chara = stage.Chara();
    cRunningFlow& running = chara.m_RunningFlows[0];
    ASSERT_EQ(running.m_AnimeSchedule.size(), 1u);
    EXPECT_EQ(running.m_AnimeSchedule[0].nStartStep, 6);

    chara.StartFlowAnimations();
    EXPECT_TRUE(chara.m_Animations.empty());   // not running
    running.Start(chara);
    std::vector<int> startedAt;   // update number (the pause holds one), flow step
    for (int step = 0; step < 20; ++step) {
        const std::size_t before = chara.m_Animations.size();
        if (step == 3) running.Pause();
        if (step == 4) running.Resume();
        chara.StartFlowAnimations();
        if (chara.m_Animations.size() != before) {
            startedAt.push_back(step);
            startedAt.push_back(running.m_nSteps);
        }
        if (!running.m_bPaused && running.Step(chara)) break;
    }
    EXPECT_EQ(startedAt, (std::vector<int>{7, 6}));
    const cCharaAnimation& started = chara.m_Animations.front();
    EXPECT_EQ(started.nAnime, 1);
    EXPECT_EQ(started.nOwner, running.m_nSerial);
    EXPECT_EQ(started.bScheduled, 1);
    EXPECT_EQ(started.nPlay, 6);
    EXPECT_EQ(started.nCommandFrames, 12);
    EXPECT_EQ(started.bHold, 1);
}

TEST(RunningFlow, MergedFlowsJoinTheDefinitionAtTheirPlaceAndEverythingIsBoundAgain)
{
    struct Case {
        int insertPos;
        std::vector<int> triggers;   // of the definition's flows afterwards
    } cases[] = {
        {1, {1, 7, 8, 2, 3}},
        {0, {7, 8, 1, 2, 3}},
        {3, {1, 2, 3, 7, 8}},    // past the last: appended
        {-1, {1, 2, 3, 7, 8}},
    };
    for (const Case& c : cases) {
        FlowStageFixture stage;
        stage.SetFlows({FlowOf(1, {FlowCommand(COMMAND_WAIT)}), FlowOf(2, {FlowCommand(COMMAND_WAIT)}),
                        FlowOf(3, {FlowCommand(COMMAND_WAIT), FlowCommand(COMMAND_WAIT)})});
        cChara& chara = stage.Chara();
        chara.m_RunningFlows[2].m_bRunning = 1;
        cSafeVector<cFlowData> item = {FlowOf(7, {FlowCommand(COMMAND_SOUND, 0, 1)}), FlowOf(8, {})};
        item[0].m_KeyConditions.resize(1);
        item[1].m_KeyConditions.resize(1);
        item[1].m_bKeyRepeat = 1;
        EXPECT_EQ(chara.LoadFlows(item, 1, 1, c.insertPos), 2);

        std::vector<int> triggers;
        for (const cFlowData& flow : chara.m_Def.m_Flows) triggers.push_back(flow.m_nTrigger);
        EXPECT_EQ(triggers, c.triggers) << c.insertPos;
        ASSERT_EQ(chara.m_RunningFlows.size(), 5u);
        for (std::size_t i = 0; i < chara.m_RunningFlows.size(); ++i) {
            const cRunningFlow& running = chara.m_RunningFlows[i];
            EXPECT_EQ(running.m_nIndex, static_cast<int>(i));
            EXPECT_EQ(running.m_lpFlow, &chara.m_Def.m_Flows[i]);
            ASSERT_EQ(running.m_Entries.size(), chara.m_Def.m_Flows[i].m_Commands.size());
            for (std::size_t j = 0; j < running.m_Entries.size(); ++j)
                EXPECT_EQ(running.m_Entries[j].m_lpCommand, &chara.m_Def.m_Flows[i].m_Commands[j]);
            for (std::size_t j = 0; j < running.m_KeyConditions.size(); ++j)
                EXPECT_EQ(running.m_KeyConditions[j], &chara.m_Def.m_Flows[i].m_KeyConditions[j]);
            if (running.Trigger() == 7) {
                // New serials; keys held as the item comes must first be let go.
                EXPECT_EQ(running.m_nSerial, 3);
                EXPECT_EQ(running.m_bKeyMatched, 1);
                EXPECT_EQ(running.m_Entries[0].m_nDuration, 6);
            }
            if (running.Trigger() == 8) {
                EXPECT_EQ(running.m_bKeyMatched, 0);
            }
            // The flows already there keep their state.
            if (running.Trigger() == 3) {
                EXPECT_EQ(running.m_bRunning, 1);
            }
        }
    }
}

TEST(RunningFlow, ACharaUpdateTellsTheSceneOnlyOfTheStatusChangesOfItsOwnFlows)
{
    FlowStageFixture stage;
    cHero& player = stage.AddPlayerOne();
    player.m_nHp = 5;
    cCommandData kill = FlowCommand(COMMAND_CODE, 1);
    kill.m_strCode = "tg.hp = 0";
    stage.SetFlows({FlowOf(TRIGGER_NONE, {kill})});
    cChara& chara = stage.Chara();
    chara.m_lpTarget = &player;
    chara.m_RunningFlows[0].Start(chara);

    chara.UpdateCommon(0, false, APPROACHSCROLL{});
    ASSERT_EQ(player.m_nHp, 0);
    EXPECT_EQ(stage.Scene().m_bStatusChanged, 1) << "its flow left another chara dead";
    // The flow has ended: the next update changes nothing, and the scene must not go on
    // sweeping for the dead after every chara.
    chara.UpdateCommon(0, false, APPROACHSCROLL{});
    EXPECT_EQ(stage.Scene().m_bStatusChanged, 0);
}
