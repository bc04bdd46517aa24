#pragma once
// The animation control: plays an animation resource (a strip of frames) as a
// loop, centred, on a transparent background, from the timer of the
// user-interface thread.
#include <QList>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <chrono>

class CAnimationCtrl : public QWidget {
public:
    explicit CAnimationCtrl(QWidget* parent = nullptr);

    /// Loads animation resource id; false when it has no frames.
    bool Open(unsigned id);
    /// Loops until Stop; each frame shows for interval.
    void Play(std::chrono::milliseconds interval = std::chrono::milliseconds(80));
    void Stop();
    bool IsPlaying() const { return m_timer.isActive(); }
    int FrameCount() const { return static_cast<int>(m_frames.size()); }
    int CurrentFrame() const { return m_current; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Advance();

    QList<QPixmap> m_frames;
    int m_current = 0;
    QTimer m_timer;
};
