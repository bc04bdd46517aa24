#pragma once
// The Home tab: the community's home page.
#include "client/ui/shell/TabView.h"

class CHomePane;
class CSession;

class CHomeView : public CTabView {
public:
    explicit CHomeView(CSession& session, QWidget* parent = nullptr);
    QString GetTitle() const override;
    CHomePane* HomePane() const { return m_homePane; }

private:
    CHomePane* m_homePane;
};
