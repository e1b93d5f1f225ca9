#pragma once
// Drives the dialogs of the toolkit as a player would: the test's thread is the window thread
// with a main window over the dummy video driver, and SDL events (keys, typed text, the input
// method's composition) are pushed one step at a time while the dialog's loop is idle.
#include <functional>
#include <string>
#include <vector>

#include "platform/os/windows_types.h"

namespace qbtest {

class cDialogDriver {
public:
    // Makes the window thread, SDL video and a main window of the given class.
    void SetUp(const char* className);
    void TearDown();
    HWND MainWindow() const { return m_hMain; }

    // Steps run one at a time, each when the open dialog has nothing left to do; a check
    // step gets the dialog. When the steps run out and the dialog is still open it is ended
    // with kDriverEnded, so that a fault fails the test instead of hanging it.
    static constexpr long kDriverEnded = -99;
    void Then(std::function<void(HWND hDlg)> step);
    void ClearSteps() { m_Steps.clear(); }
    void Press(int virtualKey);               // down, then up in the next step
    void Hold(int virtualKey);                // down only
    void Release(int virtualKey);
    void Type(const std::string& utf8);       // one commit per character
    void Compose(const std::string& utf8);    // an open composition ("" closes it)
    void Commit(const std::string& utf8);     // the composition committed as one text
    // Installs the steps as the dialog idle hook (and takes it away at TearDown).
    void Arm();

private:
    HWND m_hMain = nullptr;
    std::vector<std::function<void(HWND)>> m_Steps;
    std::size_t m_nNext = 0;
};

// Answers for dialogs run without a player, as the harness script gives them, taken in
// order; the answer source while the object lives.
class cDialogAnswers {
public:
    cDialogAnswers();
    ~cDialogAnswers();
    cDialogAnswers(const cDialogAnswers&) = delete;
    cDialogAnswers& operator=(const cDialogAnswers&) = delete;
    void Add(const std::string& utf8);
};

// The edit text and the selection of a dialog's control.
std::string ControlText(HWND hDlg, int id);
std::pair<int, int> ControlSelection(HWND hDlg, int id);

}  // namespace qbtest
