#pragma once
// An on-screen message: a text box or an icon shown over the stage, or the invisible timed
// message a flow's wait counts frames with. The stage's message list holds them by value; a
// text message's surface lives in Off_Msg, and every copy of the message shares it.
#include <list>
#include <string>

struct DDSURFACEDATA;
struct SURFACEINFO;

// Message kinds.
constexpr int kMessageTimer = 0;      // nothing drawn: a wait counts frames with it
constexpr int kMessageText = 1;
constexpr int kMessageItem = 2;       // the icon of an item just taken
constexpr int kMessageExtraLife = 3;  // the extra-life icon of the clear tally

// What a message is set up with, in the order its callers hand it over.
struct MESSAGESETUP {
    int nKind = 0;
    const char* lpText = nullptr;  // null leaves the text as it was
    int nIconKind = 0;
    int nIconIndex = 0;
    int nIconFrame = 0;
    int nPosMode = 0;              // 0 centre, 1-3 the chara, 4-6 the hero, 7 screen cells, 8 stage blocks
    int nCellX = 0;
    int nCellY = 0;
    int nOffsetX = 0;
    int nOffsetY = 0;
    int bClamp = 0;
    int bFixed = 0;
    int nDisplayMode = 0;          // 2: shown for nFrames; otherwise until its command removes it
    int nFrames = 0;
    int bTimerWhilePaused = 0;
    int nCharaSerial = 0;
    int bNoGrowIn = 0;
    int bExpand = 0;
    int bRefresh = 0;
    int nRefreshInterval = 0;
    int bWindow = 0;
    int bHasId = 0;
    int nId = 0;
};

class cMessage {
public:
    cMessage() = default;
    // Init with a new surface.
    explicit cMessage(const MESSAGESETUP& setup);
    // The text surface is not released here: it belongs to Off_Msg, and copies share it.
    ~cMessage() = default;
    cMessage(const cMessage&) = default;
    cMessage& operator=(const cMessage&) = default;

    void Init(const MESSAGESETUP& setup, int reuseSurface);
    // Set up again keeping its surface (the caller has checked that the size is the same).
    void Reinit(const MESSAGESETUP& setup) { Init(setup, 1); }

    // A new surface of the message's size in Off_Msg; on failure the program is asked to close
    // and the message keeps none.
    void CreateSurface();
    void RenderText(DDSURFACEDATA* surface);
    // Its surface taken out of Off_Msg and released.
    void RemoveSurface();
    // Once a frame: 1 when the message has ended and must leave the list (its surface already
    // released); otherwise it is drawn on target.
    int Update(DDSURFACEDATA* target, int paused);
    // The screen position of this frame (mode, pinning, clamp); false when the chara it
    // follows has gone.
    bool Locate(int& x, int& y);
    // A message placed by a command with an ID: only these are found by ID.
    bool HasId(int id) const { return m_bHasId != 0 && m_nId == id; }

    DDSURFACEDATA* m_lpSurface = nullptr;
    SURFACEINFO* m_lpSurfaceInfo = nullptr;
    int m_nKind = 0;
    std::string m_strText;
    std::string m_strTemplate;
    int m_nIconKind = 0;
    int m_nIconIndex = 0;
    int m_nIconFrame = 0;
    int m_bExpand = 0;
    int m_bRefresh = 0;
    int m_nRefreshInterval = 0;
    int m_bWindow = 0;
    int m_nPosMode = 0;
    int m_nCellX = 0;
    int m_nCellY = 0;
    int m_nOffsetX = 0;
    int m_nOffsetY = 0;
    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_bClamp = 0;
    int m_nDisplayMode = 0;
    int m_bFixed = 0;
    int m_bLatched = 0;
    int m_nLatchedX = 0;
    int m_nLatchedY = 0;
    int m_bHasId = 0;
    int m_nId = 0;
    int m_nCharaSerial = 0;
    int m_nFramesLeft = 0;
    int m_bTimerWhilePaused = 0;
    int m_bGrowIn = 0;
    double m_dGrow = 0;

private:
    void DrawTextBox(DDSURFACEDATA* target, int x, int y);
    // The shown text measured and expanded again from its template; a new surface when the
    // size changed.
    void Refresh();
};

void AddMessageToList(std::list<cMessage>& list, const cMessage& message);
// The #C / #S escapes of a text replaced by the variables' values, in place.
void ExpandMessageVariables(std::string& text);
// The size of a text as a message shows it, 2 added to each side's count.
void MeasureMessageText(int* width, int* height, const char* text);
