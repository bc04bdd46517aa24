#include "client/ui/web/PreviewBrowser.h"

#include <QWebEngineSettings>

CPreviewBrowser::CPreviewBrowser(QWidget* parent) : CWebBrowser2(parent, 0)
{
    // Previews play without anybody pressing play in a page nobody sees.
    page()->settings()->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
    setAttribute(Qt::WA_DontShowOnScreen);
    hide();
}

void CPreviewBrowser::NavigatePreview(const std::string& url)
{
    Navigate(url);
}

void CPreviewBrowser::setVisible(bool visible)
{
    if (!visible)
        CWebBrowser2::setVisible(false);
}
