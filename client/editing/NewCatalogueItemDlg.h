#pragma once
// What the New Track - Artist and New Track dialogs share: a typed name, the
// choice between a catalogue item of the list (looked up when the dialog
// opens) and a new one made from the name, OK by the choice's rule, and the
// progress window while a new item is being created.
#include "client/ui/shell/PaneServices.h"
#include "client/ui/web/ProgressDlg.h"

#include <QDialog>
#include <QPointer>

#include <string>

class CItemListGridCtrl;
class CItemRef;
class QLineEdit;
class QPushButton;
class QRadioButton;

class CNewCatalogueItemDlg : public QDialog {
public:
    /// The template's numbers and texts.
    struct Template {
        unsigned dialogId;
        const char* caption;
        int nameEdit;
        int selectRadio;
        const char* selectText;
        int addRadio;
        const char* addText;
        int list;
        unsigned lookingText;   // the list's row while the lookup runs
        unsigned creatingText;  // the progress window's text
        unsigned failedText;    // the message when the item could not be made
        int top;                // where the choices start, in dialog units
    };

    /// The choices, as the radio buttons number them.
    enum Choice { kSelect = 0, kAddNew = 1 };

    CNewCatalogueItemDlg(const PaneServices& services, const Template& layout, QWidget* parent);
    ~CNewCatalogueItemDlg() override;

    Choice CurrentChoice() const;
    std::string TypedName() const;
    CItemListGridCtrl* List() const { return m_list; }
    QLineEdit* NameEdit() const { return m_name; }
    QPushButton* OkButton() const { return m_ok; }
    /// The progress window while a new item is being made, else nullptr.
    CProgressDlg* ProgressWindow() const { return m_progress; }

    /// OK: the selected item, or a new one made from the typed name.
    void accept() override;

protected:
    /// Starts the list's lookup; called once, when the dialog is first shown.
    virtual void StartLookup() = 0;
    /// Takes the selected row's item as the result; false keeps the dialog open.
    virtual bool TakeSelected(const CItemRef& item) = 0;
    /// Sends the new item made from the typed name; false when it could not be sent.
    virtual bool SendNewItem(const std::string& name) = 0;

    std::string Token() const;
    const PaneServices& Services() const { return m_services; }
    void SetTypedName(const std::string& name);

    /// The lookup answered: the list is emptied for the rows that follow, then
    /// ShowRows ends it ("No suggestions." and disabled when none came).
    void ClearRows();
    void ShowRows();
    /// The new item's request ended: closes with OK when made, else shows the
    /// failure and stays open.
    void FinishCreating(bool made);

    void showEvent(QShowEvent* event) override;

private:
    void UpdateOk();
    void EndProgress();

    PaneServices m_services;
    Template m_layout;
    QLineEdit* m_name;
    QRadioButton* m_select;
    QRadioButton* m_addNew;
    CItemListGridCtrl* m_list;
    QPushButton* m_ok;
    QPushButton* m_cancel;
    bool m_started = false;
    bool m_creating = false;
    QPointer<CProgressDlg> m_progress;
    QPointer<QWidget> m_mainWindow;
};
