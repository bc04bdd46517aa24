#pragma once
// The hidden browser that plays track previews: it navigates to whatever
// address a preview answer names and is never shown.
#include "client/ui/web/WebBrowser2.h"

#include <string>

class CPreviewBrowser : public CWebBrowser2 {
public:
    /// A child of parent (the main frame) with child id 0 that stays hidden.
    explicit CPreviewBrowser(QWidget* parent = nullptr);

    /// Navigates with no flags, target frame, post data or headers.
    void NavigatePreview(const std::string& url);

    /// Refuses every attempt to show it, also through its parent.
    void setVisible(bool visible) override;
};
