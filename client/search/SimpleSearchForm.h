#pragma once
// The Search tab's simple form: a text, a kind of result (Playlists,
// Playmakers, Artists, Tracks or All) and the Search button, which is enabled
// while the text is not empty and no search of anybody is outstanding. Enter
// runs it as the button would.
#include "client/search/SearchListener.h"
#include "client/ui/shell/BaseDlgPane.h"
#include "client/ui/shell/PaneServices.h"

#include <array>
#include <cstdint>

class CColorButton;
class QLineEdit;
class QRadioButton;

class CSimpleSearchForm : public CBaseDlgPane, public ISearchBusyListener {
public:
    /// The services' search controller is used when present; it outlives the form.
    explicit CSimpleSearchForm(const PaneServices& services, QWidget* parent = nullptr);
    ~CSimpleSearchForm() override;

    /// The mode of the checked radio button (SimpleSearchMode).
    std::int32_t Mode() const;
    bool IsBusy() const { return m_busy; }
    /// The height the template needs.
    int NaturalHeight() const;
    /// Starts the search the form shows, when the Search button is enabled.
    void Search();

    /// The form's controls have no tool tips.
    QString ToolTipText(int) const override { return {}; }

    void OnSearchBusy(std::int32_t busy) override;

protected:
    void OnInitDialog() override;
    /// Enter: the Search button is the default button.
    void OnOK() override { Search(); }

private:
    void UpdateSearchButton();

    PaneServices m_services;
    std::array<QRadioButton*, 5> m_radios{};
    QLineEdit* m_text = nullptr;
    CColorButton* m_search = nullptr;
    bool m_busy = false;
    bool m_listening = false;
};
