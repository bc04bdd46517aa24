#include "client/search/AdvancedSearchForm.h"

#include "client/resources/ResourceIds.h"
#include "client/resources/StringTable.h"
#include "client/search/SearchController.h"
#include "client/search/SearchForms.h"
#include "client/ui/shell/ColorButton.h"
#include "client/ui/shell/DialogUnits.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include <memory>

namespace {

// Template 203, in dialog units; the theme combo and the list lie over the edit.
constexpr int kHeightUnits = 54;
const QRect kKindLabel(7, 8, 40, 8);
const QRect kKind(50, 6, 90, 13);
const QRect kFieldLabel(7, 24, 40, 8);
const QRect kField(50, 22, 90, 13);
const QRect kTextLabel(7, 40, 40, 8);
const QRect kInput(50, 38, 110, 12);
const QRect kSearchButton(165, 37, 45, 14);
const char* const kKinds[] = {"Playlists", "Playmakers", "Artists", "Tracks"};

// The lookup table a chosen field lists; nullptr for a typed field.
const char* TableOf(SearchField field)
{
    switch (field) {
    case kFieldTheme: return "Theme";
    case kFieldGenre: return "Genres";
    case kFieldMood: return "Mood";
    default: return nullptr;
    }
}

void ShowInput(QWidget* input, bool shown)
{
    input->setVisible(shown);
    input->setEnabled(shown);
}

}  // namespace

CAdvancedSearchForm::CAdvancedSearchForm(const PaneServices& services, QWidget* parent)
    : CBaseDlgPane(IDD_SEARCH_ADVANCED, parent), m_services(services)
{
}

CAdvancedSearchForm::~CAdvancedSearchForm()
{
    if (!m_listening)
        return;
    if (m_services.search)
        m_services.search->RemoveListener(this);
    if (m_services.lookupTables)
        m_services.lookupTables->RemoveTablesListener(this);
}

void CAdvancedSearchForm::OnInitDialog()
{
    PlaceControl(this, new QLabel(QStringLiteral("Search for:"), this), 0, kKindLabel);
    m_kindCombo = PlaceControl(this, new QComboBox(this), IDC_SEARCH_FOR, kKind);
    PlaceControl(this, new QLabel(QStringLiteral("Search by:"), this), 0, kFieldLabel);
    m_fieldCombo = PlaceControl(this, new QComboBox(this), IDC_SEARCH_BY, kField);
    PlaceControl(this, new QLabel(QStringLiteral("Containing:"), this), 0, kTextLabel);
    m_text = PlaceControl(this, new QLineEdit(this), IDC_SEARCH_TEXT, kInput);
    m_theme = PlaceControl(this, new QComboBox(this), IDC_SEARCH_THEME, kInput);
    m_theme->setEditable(true);
    m_theme->setInsertPolicy(QComboBox::NoInsert);
    m_list = PlaceControl(this, new QComboBox(this), IDC_SEARCH_LIST, kInput);
    m_search = PlaceControl(this, new CColorButton(QStringLiteral("Search"), this), IDC_SEARCH_BUTTON, kSearchButton);
    for (const char* kind : kKinds)
        m_kindCombo->addItem(QString::fromLatin1(kind));

    connect(m_kindCombo, &QComboBox::activated, this, [this](int index) { ChooseKind(index); });
    connect(m_fieldCombo, &QComboBox::activated, this, [this](int index) { ChooseField(index); });
    connect(m_text, &QLineEdit::textChanged, this, [this] { UpdateSearchButton(); });
    connect(m_list, &QComboBox::currentIndexChanged, this, [this] { UpdateSearchButton(); });
    connect(m_search, &QPushButton::clicked, this, [this] { Search(); });

    m_listening = true;
    if (m_services.search) {
        m_services.search->AddListener(this);
        m_busy = m_services.search->PendingCount() > 0;
    }
    if (m_services.lookupTables)
        m_services.lookupTables->AddTablesListener(this);
    m_kindCombo->setCurrentIndex(0);
    ChooseKind(0);
}

int CAdvancedSearchForm::NaturalHeight() const
{
    return DialogUnitsToPixels(this, QRect(0, 0, 0, kHeightUnits)).height();
}

void CAdvancedSearchForm::ChooseKind(int index)
{
    m_kind = index + 1;
    m_fieldCombo->clear();
    for (const SearchByEntry& entry : SearchByEntries(m_kind))
        m_fieldCombo->addItem(QString::fromUtf8(LoadResourceString(entry.stringId)), static_cast<int>(entry.field));
    m_fieldCombo->setCurrentIndex(0);
    ChooseField(0);
}

void CAdvancedSearchForm::ChooseField(int index)
{
    if (index < 0 || index >= m_fieldCombo->count())
        return;
    m_field = static_cast<SearchField>(m_fieldCombo->itemData(index).toInt());
    ShowInput(m_text, IsTypedField(m_field));
    ShowInput(m_theme, m_field == kFieldTheme);
    ShowInput(m_list, m_field == kFieldGenre || m_field == kFieldMood);
    FillChoices(false);
    UpdateSearchButton();
}

void CAdvancedSearchForm::FillChoices(bool keepChoice)
{
    const char* table = TableOf(m_field);
    if (!table)
        return;
    const auto items = m_services.lookupTables ? m_services.lookupTables->Tables().Lookup(table) : nullptr;
    QComboBox* combo = m_field == kFieldTheme ? m_theme : m_list;
    const QString text = combo->currentText();
    const QVariant chosen = combo->currentData();
    combo->clear();
    if (items) {
        for (const LookupItem& item : *items)
            combo->addItem(QString::fromStdString(item.text), item.identifier);
    }
    combo->setCurrentIndex(combo->count() > 0 ? 0 : -1);
    if (!keepChoice)
        return;
    if (combo == m_theme) {
        combo->setCurrentText(text);
    } else if (chosen.isValid()) {
        if (const int at = combo->findData(chosen); at >= 0)
            combo->setCurrentIndex(at);
    }
}

void CAdvancedSearchForm::OnTablesChanged()
{
    FillChoices(true);
    UpdateSearchButton();
}

std::string CAdvancedSearchForm::TrimmedText() const
{
    return m_text ? m_text->text().trimmed().toStdString() : std::string();
}

bool CAdvancedSearchForm::InputComplete() const
{
    if (IsTypedField(m_field))
        return !TrimmedText().empty();
    if (m_field == kFieldTheme)
        return true;
    return m_list->currentIndex() >= 0;
}

void CAdvancedSearchForm::UpdateSearchButton()
{
    if (m_search)
        m_search->setEnabled(!m_busy && InputComplete());
}

void CAdvancedSearchForm::OnSearchBusy(std::int32_t busy)
{
    m_busy = busy != 0;
    UpdateSearchButton();
}

void CAdvancedSearchForm::Search()
{
    // The input is checked before the form marks itself busy: only an answer
    // ends the busy state, and a search that is not started gets none.
    if (!m_search || m_busy || !InputComplete() || !m_services.search)
        return;
    m_busy = true;
    m_search->setEnabled(false);
    SearchCriterion criterion{m_field, 0, {}, 0};
    if (IsTypedField(m_field)) {
        criterion.text = TrimmedText();
    } else if (m_field == kFieldTheme) {
        criterion.text = m_theme->currentText().toStdString();
    } else {
        criterion.number = m_list->currentData().toInt();
        criterion.text = m_list->currentText().toStdString();
    }
    m_services.search->Search(std::make_unique<CSearchQuery>(m_kind, std::vector<SearchCriterion>{criterion}));
}
