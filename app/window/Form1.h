#pragma once

#include "CommandHost.h"
#include "CommandQueue.h"
#include "CommonDialog.h"
#include "ErrorReporter.h"
#include "ExcelContext.h"
#include "Prompts.h"
#include "SaveLedger.h"
#include "Services.h"
#include "SettingsStore.h"

#include <QColor>
#include <QCursor>
#include <QWidget>

#include <optional>

#include <memory>

class ItemList;
class ListViewKeeper;
class ListMenu;
class NearDuplicateReview;
class ListRecovery;
class UndoHistory;
class Trap;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTableView;

// The main window: the list, the case options, the command buttons, the entry box, the
// status line and the progress bar. Every command is one of its handlers.
class Form1 : public QWidget, public CommandHost
{
    Q_OBJECT
    Q_PROPERTY(int MousePointer READ mousePointer WRITE setMousePointer)

public:
    static constexpr int kPointerDefault = 0;
    static constexpr int kPointerHourglass = 11;
    static constexpr int kPointerCustom = 99;
    static constexpr int kDeleteKeyCode = 46;
    static constexpr char16_t kProductName[] = u"Tarnwell";

    explicit Form1(const Services &services, QWidget *parent = nullptr);
    ~Form1() override;

    ItemList &items() { return *m_items; }
    UndoHistory &history() { return *m_history; }
    ListMenu &listMenu() { return *m_listMenu; }
    NearDuplicateReview &nearDuplicates() { return *m_nearDuplicates; }
    int mousePointer() const { return m_mousePointer; }
    void setMousePointer(int value);

    // CommandHost
    void showHourglass(bool on) override
    {
        setMousePointer(on ? kPointerHourglass : kPointerDefault);
    }
    CommandQueue &commands() override { return m_commands; }
    const QString &appTitle() const override { return m_appTitle; }
    QWidget &hostWidget() override { return *this; }

    // ListHost
    CaseOption caseOption() const override;
    void setStatus(const QString &text) override;
    void setProgress(double percent) override;
    void yieldToEventLoop() override;
    void notify(const QString &text) override;
    ErrorReporter &errorReporter() override { return m_reporter; }
    qint64 yieldIntervalMs() const override { return m_yieldIntervalMs; }
    // Tests yield at every chance to run commands in between.
    void setYieldInterval(qint64 ms) { m_yieldIntervalMs = ms; }

    // Start-up; runs once, from the constructor.
    void Form_Load();

    // Commands.
    void PushButton1_Click();  // Clear All Items
    void PushButton2_Click();  // Add
    void PushButton19_Click(); // Remove Selected Item
    void PushButton22_Click(); // Load Sample/Example List
    void PushButton17_Click(); // Remove Items With...
    void PushButton16_Click(); // Remove Items Without...
    void PushButton3_Click();  // Load List From Text File
    void PushButton20_Click(); // Save List To Text File
    void PushButton18_Click(); // Load List From Excel File
    void PushButton15_Click(); // Save List To Excel File
    void Option1_Click();
    void Option2_Click();
    void ListView1_DblClick();
    void ListView1_KeyDown(int keyCode);

    // Loads files as "Load List From Text File" does with these files chosen, in turn after
    // any command still running. A folder stands for the plain files in it, in name order.
    void loadTextFiles(const QStringList &paths);

    // Keeps the list in `folder` after each finished step, for restoring it after an end that
    // is not a normal close (Form1Recovery.cpp).
    void keepForRecovery(const QString &folder);
    // Offers, as the first command, the lists that windows left in that folder when they
    // ended without closing normally.
    void offerRecovery();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void createControls();
    void setTabOrder();
    void connectHandlers();
    void loadTextFilesNow(const QStringList &paths);
    // A background the design fixes, with the text colour that reads on it.
    static void setBackground(QWidget *widget, const QColor &colour,
                              const QColor &text = Qt::black);
    void ApplySkin();
    void SetAppTitle();
    void loadHandCursor(const QString &path);
    void storeCaseOption();
    void setCaseButtons(bool ignoreCase, bool matchCase);
    void removeCurrentItem();
    void tickSelectedItems();
    void scrollToLastItem();
    static QString addedLinesStatus(qsizetype added, qsizetype refused);
    void importTextFiles(Trap &trap, const QStringList &pathParts);
    ExcelContext excelContext();
    void filterCommand(const QString &location, const QString &emptyListMessage,
                       bool removeItemsWith);
    Prompts::Answer msgBox(const QString &text, Prompts::Style style = Prompts::Style::OkOnly);

    // The pointer handlers: over a command button, and over the window, list or frames.
    void pointerOverButton();
    void pointerElsewhere();

    // "Add" looks like the default button only while Enter would run it.
    void showDefaultButton(QWidget *focused);

    Services m_services;
    ErrorReporter m_reporter;
    SettingsStore m_settings;
    CommonDialog m_commonDialog;
    SaveLedger m_textSaves;
    // The status a notice that a command waits took the place of, while it shows.
    std::optional<QString> m_statusBeforeWait;
    CommandQueue m_commands;
    QString m_appTitle;
    int m_mousePointer = kPointerDefault;
    QCursor m_handCursor{Qt::PointingHandCursor};
    bool m_closed = false;
    qint64 m_yieldIntervalMs = 40;

    ItemList *m_items = nullptr; // owned by this window (QObject parent)
    QTableView *ListView1 = nullptr;
    ListViewKeeper *m_listKeeper = nullptr; // owned by ListView1
    UndoHistory *m_history = nullptr;       // owned by this window
    QMetaObject::Connection m_focusWatch;
    ListMenu *m_listMenu = nullptr;                  // owned by this window
    NearDuplicateReview *m_nearDuplicates = nullptr; // owned by this window
    ListRecovery *m_recovery = nullptr;              // owned by this window, once it keeps the list
    QGroupBox *Frame1 = nullptr;
    QGroupBox *Frame2 = nullptr;
    QRadioButton *Option1 = nullptr;
    QRadioButton *Option2 = nullptr;
    QLineEdit *Text1 = nullptr;
    QLabel *Label1 = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    QPushButton *PushButton1 = nullptr;
    QPushButton *PushButton2 = nullptr;
    QPushButton *PushButton3 = nullptr;
    QPushButton *PushButton15 = nullptr;
    QPushButton *PushButton16 = nullptr;
    QPushButton *PushButton17 = nullptr;
    QPushButton *PushButton18 = nullptr;
    QPushButton *PushButton19 = nullptr;
    QPushButton *PushButton20 = nullptr;
    QPushButton *PushButton22 = nullptr;
};

// Twips (1/1440 inch) to pixels at 96 dpi: 15 twips a pixel.
constexpr int twipsToPixels(int twips)
{
    return (twips + 7) / 15;
}
