#pragma once
// The main window's status bar: pane 0 the menu prompts (idle: "For Help,
// press F1"), pane 1 who is logged in, then CAP, NUM and SCRL, each shown
// while its lock key is on.
#include "client/protocol/SessionListener.h"

#include <QStatusBar>

#include <array>

class QLabel;

class CLoginStatusBar : public QStatusBar, public ISessionListener {
public:
    static constexpr int kPaneCount = 5;

    explicit CLoginStatusBar(QWidget* parent = nullptr);
    ~CLoginStatusBar() override;

    QString PaneText(int pane) const;
    void SetPaneText(int pane, const QString& text);
    /// Pane 0 back to the idle text.
    void ShowIdlePrompt();

    /// "%s logged in." with a non-empty handle, else "Not logged in.".
    void OnSessionChanged(const std::string& handle, const std::string& token) override;

    /// Shows or blanks the indicator of ID_INDICATOR_CAPS, _NUM or _SCRL.
    void SetLockState(unsigned indicator, bool on);
    bool LockState(unsigned indicator) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::array<QLabel*, kPaneCount> m_panes{};
    std::array<bool, 3> m_locks{};
};
