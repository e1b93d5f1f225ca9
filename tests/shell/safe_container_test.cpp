#include "shell/safe_container.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/os/messages.h"
#include "shell/log.h"
#include "shell/shared_flags.h"
#include "tests/support/temp_folder.h"

namespace {

// Logs in a fresh folder and a main window owned by the test thread, so that the close
// request can be read back from the test thread's queue.
class SafeContainerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_Folder.ChangeInto();
        ASSERT_TRUE(OpenReportFile("Report_Game.txt"));
        SetEcLogFile(1, "EC_Game.txt");
        m_hWnd = plat::CreateWindowHandle(DefWindowProcA);
        ASSERT_NE(m_hWnd, nullptr);
        g_hWnd = m_hWnd;
    }
    void TearDown() override
    {
        g_hWnd = nullptr;
        CloseRequests();
        DestroyWindow(m_hWnd);
        SetEcLogFile(0, "EC_Game.txt");
    }
    // The number of WM_CLOSE posted to the main window since the last call.
    int CloseRequests()
    {
        int closes = 0;
        MSG msg{};
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_CLOSE && msg.hwnd == m_hWnd && msg.wParam == 0 && msg.lParam == 0) ++closes;
        }
        return closes;
    }
    std::string Report() const { return m_Folder.ReadFile("Report_Game.txt"); }
    std::string EcText() const { return m_Folder.ReadFile("EC_Game.txt"); }
    // The error line for these values, built here from the texts the logs must carry.
    static std::string ErrorLine(char kind, int index, int length, int elementSize)
    {
        char text[80];
        std::snprintf(text, sizeof text, "err %c[%d] ( %d , %d )\n", kind, index, length, elementSize);
        return text;
    }

    qbtest::cTempFolder m_Folder;
    HWND m_hWnd = nullptr;
};

struct cRecord {
    int nValue = 7;
    std::string strName = "default";
    bool operator==(const cRecord&) const = default;
};

// Records how it got its value, to tell assignment from construction.
struct cTracked {
    int nValue = 0;
    bool bAssigned = false;
    cTracked() = default;
    explicit cTracked(int value) : nValue(value) {}
    cTracked(const cTracked& other) : nValue(other.nValue) {}
    cTracked& operator=(const cTracked& other)
    {
        nValue = other.nValue;
        bAssigned = true;
        return *this;
    }
};

}  // namespace

TEST_F(SafeContainerTest, ValidVectorIndicesReachTheirElementsWithoutAReport)
{
    cSafeVector<int> v{10, 20, 30};
    EXPECT_EQ(v.At(0), 10);
    EXPECT_EQ(v.At(2), 30);
    v.At(1) = 21;
    EXPECT_EQ(v[1], 21);
    EXPECT_EQ(Report(), "");
    EXPECT_EQ(CloseRequests(), 0);
}

TEST_F(SafeContainerTest, BadVectorIndexIsReportedAndYieldsElementZero)
{
    struct Case { int index; } cases[] = {{3}, {5}, {-1}, {-2147483647 - 1}, {2147483647}};
    std::string expected;
    for (const auto& c : cases) {
        cSafeVector<int> v{10, 20, 30};
        int& element = v.At(c.index);
        EXPECT_EQ(&element, &v[0]) << c.index;
        EXPECT_EQ(v.size(), 3u);
        expected += ErrorLine('V', c.index, 3, sizeof(int));
        EXPECT_EQ(CloseRequests(), 1) << c.index;
    }
    EXPECT_EQ(Report(), expected);
    EXPECT_EQ(EcText(), expected);
}

TEST_F(SafeContainerTest, EachFailedAccessReportsAndRequestsCloseAgain)
{
    cSafeVector<double> v(2);
    v.At(2);
    v.At(2);
    const std::string line = ErrorLine('V', 2, 2, sizeof(double));
    EXPECT_EQ(Report(), line + line);
    EXPECT_EQ(CloseRequests(), 2);
}

TEST_F(SafeContainerTest, EmptyVectorYieldsAFreshDefaultElement)
{
    cSafeVector<cRecord> never;
    cRecord& first = never.At(0);
    EXPECT_EQ(first, cRecord{});
    first.nValue = 99;
    first.strName = "scribbled";
    // What one failing caller wrote is not seen by the next.
    cSafeVector<cRecord> other;
    EXPECT_EQ(other.At(-1), cRecord{});
    EXPECT_TRUE(never.empty());
    EXPECT_EQ(Report(), ErrorLine('V', 0, 0, sizeof(cRecord)) + ErrorLine('V', -1, 0, sizeof(cRecord)));
    EXPECT_EQ(CloseRequests(), 2);
}

TEST_F(SafeContainerTest, BadListPositionYieldsAFreshFallbackNotAnElement)
{
    cSafeList<cRecord> list{cRecord{1, "a"}, cRecord{2, "b"}};
    EXPECT_EQ(list.At(1).strName, "b");
    EXPECT_EQ(Report(), "");

    cRecord& fallback = list.At(-1);
    EXPECT_EQ(fallback, cRecord{});
    for (auto& element : list) EXPECT_NE(&fallback, &element);
    fallback.nValue = 55;
    EXPECT_EQ(list.At(2), cRecord{});
    EXPECT_EQ(list.size(), 2u);
    EXPECT_EQ(list.front().nValue, 1);

    const std::string expected = ErrorLine('L', -1, 2, sizeof(cRecord)) + ErrorLine('L', 2, 2, sizeof(cRecord));
    EXPECT_EQ(Report(), expected);
    EXPECT_EQ(EcText(), expected);
    EXPECT_EQ(CloseRequests(), 2);
}

TEST_F(SafeContainerTest, FillAssignsEveryElementAndLeavesAnEmptyVectorAlone)
{
    cSafeVector<int> v(4, 1);
    v.Fill(9);
    EXPECT_EQ(v, (cSafeVector<int>{9, 9, 9, 9}));
    cSafeVector<int> empty;
    empty.Fill(9);
    EXPECT_TRUE(empty.empty());
    EXPECT_EQ(Report(), "");
}

TEST_F(SafeContainerTest, RemoveValueRemovesEveryMatchInOrder)
{
    struct Case { std::vector<int> before; int value; std::vector<int> after; bool removed; } cases[] = {
        {{1, 5, 5, 2}, 5, {1, 2}, true},
        {{5, 5, 5}, 5, {}, true},
        {{5, 1, 5, 2, 5}, 5, {1, 2}, true},
        {{1, 2, 3}, 4, {1, 2, 3}, false},
        {{}, 4, {}, false},
    };
    for (const auto& c : cases) {
        cSafeVector<int> v(c.before.begin(), c.before.end());
        EXPECT_EQ(v.RemoveValue(c.value), c.removed);
        EXPECT_EQ(std::vector<int>(v.begin(), v.end()), c.after);
    }
}

TEST_F(SafeContainerTest, RemoveValueOfOneOfItsOwnElementsRemovesThatValue)
{
    cSafeVector<int> v{4, 4, 7, 4};
    EXPECT_TRUE(v.RemoveValue(v[0]));
    EXPECT_EQ(v, (cSafeVector<int>{7}));
}

TEST_F(SafeContainerTest, AssignmentResizesThenAssignsEachElement)
{
    cSafeVector<cTracked> source;
    for (int i = 1; i <= 3; ++i) source.emplace_back(i);

    cSafeVector<cTracked> grown;
    grown.emplace_back(100);
    grown = source;
    ASSERT_EQ(grown.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(grown[i].nValue, i + 1);
        EXPECT_TRUE(grown[i].bAssigned) << i;
    }

    cSafeVector<cTracked> shrunk;
    for (int i = 0; i < 5; ++i) shrunk.emplace_back(50 + i);
    const cTracked* storage = shrunk.data();
    shrunk = source;
    ASSERT_EQ(shrunk.size(), 3u);
    EXPECT_EQ(shrunk.data(), storage);   // the surplus was erased from the end, nothing moved
    for (int i = 0; i < 3; ++i) EXPECT_EQ(shrunk[i].nValue, i + 1);

    shrunk = cSafeVector<cTracked>();
    EXPECT_TRUE(shrunk.empty());
    grown = grown;
    EXPECT_EQ(grown.size(), 3u);
}

TEST_F(SafeContainerTest, ListInsertAtPutsTheValueAtThatPosition)
{
    struct Case { int position; std::vector<int> after; } cases[] = {
        {0, {9, 1, 2, 3}},
        {1, {1, 9, 2, 3}},
        {2, {1, 2, 9, 3}},
        {3, {1, 2, 3, 9}},
        {4, {1, 2, 3, 9}},
        {-1, {1, 2, 3, 9}},
    };
    for (const auto& c : cases) {
        cSafeList<int> list{1, 2, 3};
        ListInsertAt(list, c.position, 9);
        EXPECT_EQ(std::vector<int>(list.begin(), list.end()), c.after) << c.position;
    }
    cSafeList<int> empty;
    ListInsertAt(empty, 5, 1);
    EXPECT_EQ(std::vector<int>(empty.begin(), empty.end()), std::vector<int>{1});
}
