#include "client/search/SimpleSearchForm.h"

#include "client/resources/ResourceIds.h"
#include "client/search/SearchController.h"
#include "client/search/SearchForms.h"
#include "client/ui/shell/ColorButton.h"
#include "client/ui/shell/DialogUnits.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace {

// Template 205, in dialog units.
constexpr int kHeightUnits = 38;
const QRect kTextLabel(7, 8, 40, 8);
const QRect kText(50, 6, 110, 12);
const QRect kSearchButton(165, 5, 45, 14);
struct Radio {
    int id;
    const char* caption;
    QRect units;
};
const Radio kRadios[] = {
    {IDC_SEARCH_PLAYLISTS, "Playlists", QRect(7, 24, 48, 10)},
    {IDC_SEARCH_PLAYMAKERS, "Playmakers", QRect(57, 24, 60, 10)},
    {IDC_SEARCH_ARTISTS, "Artists", QRect(119, 24, 44, 10)},
    {IDC_SEARCH_TRACKS, "Tracks", QRect(165, 24, 42, 10)},
    {IDC_SEARCH_ALL, "All", QRect(209, 24, 30, 10)},
};

}  // namespace

CSimpleSearchForm::CSimpleSearchForm(const PaneServices& services, QWidget* parent)
    : CBaseDlgPane(IDD_SEARCH_SIMPLE, parent), m_services(services)
{
}

CSimpleSearchForm::~CSimpleSearchForm()
{
    if (m_listening && m_services.search)
        m_services.search->RemoveListener(this);
}

void CSimpleSearchForm::OnInitDialog()
{
    PlaceControl(this, new QLabel(QStringLiteral("Containing:"), this), 0, kTextLabel);
    m_text = PlaceControl(this, new QLineEdit(this), IDC_SEARCH_TEXT, kText);
    m_search = PlaceControl(this, new CColorButton(QStringLiteral("Search"), this), IDC_SEARCH_BUTTON, kSearchButton);
    for (std::size_t i = 0; i < m_radios.size(); ++i) {
        const Radio& radio = kRadios[i];
        m_radios[i] =
            PlaceControl(this, new QRadioButton(QString::fromLatin1(radio.caption), this), radio.id, radio.units);
    }
    m_radios[0]->setChecked(true);
    connect(m_text, &QLineEdit::textChanged, this, [this] { UpdateSearchButton(); });
    connect(m_search, &QPushButton::clicked, this, [this] { Search(); });

    if (m_services.search) {
        m_listening = true;
        m_services.search->AddListener(this);
        m_busy = m_services.search->PendingCount() > 0;
    }
    UpdateSearchButton();
}

int CSimpleSearchForm::NaturalHeight() const
{
    return DialogUnitsToPixels(this, QRect(0, 0, 0, kHeightUnits)).height();
}

std::int32_t CSimpleSearchForm::Mode() const
{
    for (std::size_t i = 0; i < m_radios.size(); ++i) {
        if (m_radios[i] && m_radios[i]->isChecked())
            return SimpleSearchModeOfRadio(static_cast<int>(i));
    }
    return SimpleSearchModeOfRadio(0);
}

void CSimpleSearchForm::UpdateSearchButton()
{
    if (m_search)
        m_search->setEnabled(!m_busy && !m_text->text().isEmpty());
}

void CSimpleSearchForm::OnSearchBusy(std::int32_t busy)
{
    m_busy = busy != 0;
    UpdateSearchButton();
}

void CSimpleSearchForm::Search()
{
    if (!m_search || !m_search->isEnabled() || !m_services.search)
        return;
    RunSimpleSearch(*m_services.search, Mode(), m_text->text().toStdString());
}
