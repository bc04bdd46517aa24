#pragma once
// The Search tab's advanced form: a kind of result ("Search for:"), the field
// to search ("Search by:") and its value: a text, a theme, or a genre or mood
// chosen from the lookup tables; only the input the field needs is shown. The
// lists follow the lookup tables when the server's tables arrive.
#include "client/catalogue/LookupTablesModel.h"
#include "client/search/SearchListener.h"
#include "client/search/SearchQuery.h"
#include "client/ui/shell/BaseDlgPane.h"
#include "client/ui/shell/PaneServices.h"

#include <cstdint>
#include <string>

class CColorButton;
class QComboBox;
class QLineEdit;

class CAdvancedSearchForm : public CBaseDlgPane, public ISearchBusyListener, public ITablesListener {
public:
    /// The services' search controller and lookup tables are used when
    /// present; they outlive the form.
    explicit CAdvancedSearchForm(const PaneServices& services, QWidget* parent = nullptr);
    ~CAdvancedSearchForm() override;

    std::int32_t Kind() const { return m_kind; }
    SearchField Field() const { return m_field; }
    bool IsBusy() const { return m_busy; }
    /// The edit's text without the white space at both ends.
    std::string TrimmedText() const;
    /// The height the template needs.
    int NaturalHeight() const;
    /// Starts the search the form shows, when its input allows one: a typed
    /// field needs text, a genre or mood an entry of the list.
    void Search();

    /// The form's controls have no tool tips.
    QString ToolTipText(int) const override { return {}; }

    void OnSearchBusy(std::int32_t busy) override;

    /// The lookup tables were replaced: the shown theme or genre or mood list
    /// is filled again, keeping the member's choice where it still exists.
    void OnTablesChanged() override;

protected:
    void OnInitDialog() override;
    /// Enter: the Search button is the default button.
    void OnOK() override { Search(); }

private:
    void ChooseKind(int index);
    void ChooseField(int index);
    /// Fills the theme combo or the list for the current field.
    void FillChoices(bool keepChoice);
    /// Whether the input holds what a search of the current field needs.
    bool InputComplete() const;
    void UpdateSearchButton();

    PaneServices m_services;
    QComboBox* m_kindCombo = nullptr;
    QComboBox* m_fieldCombo = nullptr;
    QLineEdit* m_text = nullptr;
    QComboBox* m_theme = nullptr;
    QComboBox* m_list = nullptr;
    CColorButton* m_search = nullptr;
    std::int32_t m_kind = kSearchPlaylists;
    SearchField m_field = kFieldPlaylistTitle;
    bool m_busy = false;
    bool m_listening = false;
};
