#pragma once
// The small busy window: an animation loop and one line of text. It offers no
// buttons and no way to close it; it only asks the member to wait.
#include <QDialog>

#include <string>

class CAnimationCtrl;
class QLabel;

class CProgressDlg : public QDialog {
public:
    /// No parent; the message starts empty.
    CProgressDlg();

    /// Builds the window of template 178 over parent (may be null) and starts
    /// the animation. The window is not shown.
    void Create(QWidget* parent);
    /// Centres the window on owner, or on the screen's work area without one.
    void CenterOn(const QWidget* owner);

    /// Shows text in the message line at once.
    void SetText(const std::string& text);
    /// The same with the text of string id.
    void SetTextId(unsigned id);
    const std::string& Text() const { return m_message; }

    /// nullptr until Create.
    CAnimationCtrl* Animation() const { return m_animation; }

    /// Escape and Enter do nothing.
    void reject() override {}
    void accept() override {}

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    std::string m_message;
    CAnimationCtrl* m_animation = nullptr;
    QLabel* m_messageLabel = nullptr;
};
