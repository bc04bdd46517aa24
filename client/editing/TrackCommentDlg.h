#pragma once
// "Track Comment": the description of one track of the playlist in a
// multi-line edit (control 1017), for texts longer than a grid cell shows.
#include <QDialog>

#include <string>

class QPlainTextEdit;

class CTrackCommentDlg : public QDialog {
public:
    explicit CTrackCommentDlg(QWidget* parent = nullptr);

    /// The text with the records' line breaks.
    void SetText(const std::string& text);
    std::string Text() const;

private:
    QPlainTextEdit* m_edit;
};
