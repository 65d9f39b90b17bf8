#include "Form1.h"

#include "AccessibleFrame.h"
#include "CaseRule.h"
#include "Failure.h"
#include "ItemList.h"
#include "List.h"
#include "ListMenu.h"
#include "ListRecovery.h"
#include "ListViewKeeper.h"
#include "NearDuplicateReview.h"
#include "Trap.h"
#include "UndoHistory.h"

#include <QAccessible>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTimer>

#include <limits>

// The resources live in a static library; nothing else would pull them in.
static void initResources()
{
    Q_INIT_RESOURCE(tarnwell);
}

namespace {

QRect twipsRect(int left, int top, int width, int height)
{
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

QFont arialBold(double points)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setWeight(QFont::Bold);
    return font;
}

} // namespace

Form1::Form1(const Services &services, QWidget *parent)
    : QWidget(parent), m_services(services), m_reporter(services.prompts),
      m_settings(QStringLiteral("Brennick"), QStringLiteral("Tarnwell")),
      m_commonDialog(services.fileDialogs),
      m_commands(
          [this](const QString &waiting, const QString &running) {
              const QString displaced = m_statusBeforeWait.value_or(Label1->text());
              setStatus(QCoreApplication::translate("Tarnwell", "%1 waits for %2 to finish.")
                            .arg(waiting, running));
              m_statusBeforeWait = displaced;
          },
          [this] {
              // The notice that a command waits gives way, when nothing has said more since,
              // to what it displaced: a command that reports nothing of its own (the review
              // finding its groups again) must not leave it, hiding the last one's report.
              if (const std::optional<QString> displaced = m_statusBeforeWait)
                  setStatus(*displaced);
          }),
      m_appTitle(QStringView(kProductName).toString())
{
    presentAsFrame("Form1"); // for screen readers a window, not a filler
    initResources();
    createControls();
    setTabOrder();
    connectHandlers();
    Form_Load();
}

Form1::~Form1()
{
    // Tearing down the controls moves the focus; by then there is no button to show.
    disconnect(m_focusWatch);
}

void Form1::createControls()
{
    setObjectName(QStringLiteral("Form1"));
    setFixedSize(twipsToPixels(8040), twipsToPixels(7965));
    setFont(arialBold(9));
    setBackground(this, Qt::white);
    setAcceptDrops(true);
    setMouseTracking(true);

    m_items = new ItemList(this);

    // A table of one column with a fixed row height: the view keeps nothing per row beyond
    // its header's section sizes, so millions of items cost it next to no memory or time.
    ListView1 = new QTableView(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setGeometry(twipsRect(120, 120, 7800, 2295));
    ListView1->setModel(m_items);
    ListView1->setShowGrid(false);
    ListView1->setWordWrap(false);
    ListView1->setCornerButtonEnabled(false);
    ListView1->setTabKeyNavigation(false); // Tab leaves the list, as everywhere in the window
    // Several items at once: click, Shift+click, Ctrl+click, Shift+arrows, Ctrl+A.
    ListView1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    ListView1->verticalHeader()->hide();
    ListView1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ListView1->horizontalHeader()->setStretchLastSection(false);
    ListView1->horizontalHeader()->setSectionsMovable(false);
    ListView1->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    ListView1->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    ListView1->horizontalHeader()->setHighlightSections(false);
    // The header's empty part beside "Items:" in the header's own colour: it would take the
    // window's white, a white block beside a dark theme's header.
    QPalette headerColours = ListView1->horizontalHeader()->palette();
    headerColours.setColor(QPalette::Window, headerColours.color(QPalette::Button));
    ListView1->horizontalHeader()->setPalette(headerColours);
    ListView1->setToolTip(QCoreApplication::translate(
        "Tarnwell", "Double-click item to remove it. Move | line to right "
                    "and out of window to reveal full names."));
    ListView1->setAccessibleName(QCoreApplication::translate("Tarnwell", "Items"));
    ListView1->setAccessibleDescription(ListView1->toolTip());
    ListView1->setFont(arialBold(9));
    ListView1->verticalHeader()->setMinimumSectionSize(1);
    ListView1->verticalHeader()->setDefaultSectionSize(ListView1->fontMetrics().height() + 2);
    ListView1->setMouseTracking(true);
    ListView1->viewport()->setMouseTracking(true);

    Frame2 = new QGroupBox(QCoreApplication::translate("Tarnwell", "Duplicate Options"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->setGeometry(twipsRect(120, 2460, 7800, 1035));
    Option2 = new QRadioButton(QCoreApplication::translate("Tarnwell", "Match case"), Frame2);
    Option2->setObjectName(QStringLiteral("Option2"));
    Option2->setGeometry(twipsRect(240, 650, 1545, 255));
    Option1 = new QRadioButton(QCoreApplication::translate("Tarnwell", "Ignore case"), Frame2);
    Option1->setObjectName(QStringLiteral("Option1"));
    Option1->setGeometry(twipsRect(240, 300, 2175, 255));
    Option1->setChecked(true);
    // A caption in another language may be longer than the box designed for the English one.
    for (QRadioButton *option : {Option1, Option2})
        option->resize(std::max(option->width(), option->sizeHint().width()), option->height());

    Frame1 = new QGroupBox(QCoreApplication::translate("Tarnwell", "Enter New Item"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(twipsRect(120, 5100, 7800, 855));
    Text1 = new QLineEdit(Frame1);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(twipsRect(240, 300, 3600, 375));
    // No limit of its own: an item may be as long as a string can be.
    Text1->setMaxLength(std::numeric_limits<int>::max());

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(twipsRect(120, 7460, 7800, 405));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setAccessibleName(QCoreApplication::translate("Tarnwell", "Progress"));

    Label1 = new QLabel(QStringLiteral("Label1"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(twipsRect(120, 6080, 7800, 255));
    Label1->setFrameStyle(QFrame::Box | QFrame::Plain);
    Label1->setLineWidth(1);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setAccessibleName(QCoreApplication::translate("Tarnwell", "Status"));
    setBackground(Label1, palette().color(QPalette::Base), palette().color(QPalette::Text));

    for (QGroupBox *frame : {Frame1, Frame2}) {
        setBackground(frame, Qt::white);
        frame->setMouseTracking(true);
    }
    // The option buttons' circles are drawn in the entry colours: on the white frame they
    // must be the light ones, or a dark theme's unmarked circle looks marked.
    for (QRadioButton *option : {Option1, Option2}) {
        QPalette palette = option->palette();
        palette.setColor(QPalette::Base, Qt::white);
        palette.setColor(QPalette::Text, Qt::black);
        option->setPalette(palette);
    }

    struct ButtonDesign
    {
        QPushButton *Form1::*member;
        const char *name;
        const char *caption;
        QWidget *parent;
        QRect geometry;
    };
    const ButtonDesign buttons[] = {
        {&Form1::PushButton2, "PushButton2", QT_TRANSLATE_NOOP("Tarnwell", "Add"), Frame1,
         twipsRect(3960, 300, 3600, 405)},
        {&Form1::PushButton3, "PushButton3",
         QT_TRANSLATE_NOOP("Tarnwell", "Load List From Text File"), this,
         twipsRect(120, 3610, 3840, 405)},
        {&Form1::PushButton20, "PushButton20",
         QT_TRANSLATE_NOOP("Tarnwell", "Save List To Text File"), this,
         twipsRect(4080, 3610, 3840, 405)},
        {&Form1::PushButton1, "PushButton1", QT_TRANSLATE_NOOP("Tarnwell", "Clear All Items"), this,
         twipsRect(4080, 6440, 3840, 405)},
        {&Form1::PushButton17, "PushButton17",
         QT_TRANSLATE_NOOP("Tarnwell", "Remove Items With..."), this,
         twipsRect(120, 6950, 3840, 405)},
        {&Form1::PushButton16, "PushButton16",
         QT_TRANSLATE_NOOP("Tarnwell", "Remove Items Without..."), this,
         twipsRect(4080, 6950, 3840, 405)},
        {&Form1::PushButton18, "PushButton18",
         QT_TRANSLATE_NOOP("Tarnwell", "Load List From Excel File"), this,
         twipsRect(120, 4120, 3840, 405)},
        {&Form1::PushButton19, "PushButton19",
         QT_TRANSLATE_NOOP("Tarnwell", "Remove Selected Item"), this,
         twipsRect(120, 6440, 3840, 405)},
        {&Form1::PushButton15, "PushButton15",
         QT_TRANSLATE_NOOP("Tarnwell", "Save List To Excel File"), this,
         twipsRect(4080, 4120, 3840, 405)},
        {&Form1::PushButton22, "PushButton22",
         QT_TRANSLATE_NOOP("Tarnwell", "Load Sample/Example List"), this,
         twipsRect(120, 4630, 7815, 405)},
    };
    for (const ButtonDesign &design : buttons) {
        auto *button =
            new QPushButton(QCoreApplication::translate("Tarnwell", design.caption), design.parent);
        button->setObjectName(QString::fromLatin1(design.name));
        button->setGeometry(design.geometry);
        button->setFont(arialBold(11.25));
        button->setFocusPolicy(Qt::StrongFocus);
        // A focused button takes Enter itself; everywhere else Enter means "Add".
        button->setAutoDefault(true);
        button->setMouseTracking(true);
        QPalette palette = button->palette();
        palette.setColor(QPalette::Button, Qt::white);
        palette.setColor(QPalette::ButtonText, Qt::black);
        button->setPalette(palette);
        button->installEventFilter(this);
        this->*design.member = button;
    }
    PushButton2->setDefault(true);

    ListView1->installEventFilter(this);
    ListView1->viewport()->installEventFilter(this);
    m_listKeeper = new ListViewKeeper(ListView1);
    m_history = new UndoHistory(*m_items, this);
    connect(m_history, &UndoHistory::stepNotKept, this, [this](const QString &) {
        setStatus(Label1->text() +
                  QCoreApplication::translate("Tarnwell", " (too large to keep for undo)"));
    });
    m_nearDuplicates = new NearDuplicateReview(*this, *m_items, *m_history);
    m_listMenu = new ListMenu(*this, *ListView1, *m_items, *m_history, m_services, m_textSaves,
                              [this] { m_nearDuplicates->open(); });
    Frame1->installEventFilter(this);
    Frame2->installEventFilter(this);
}

void Form1::setTabOrder()
{
    const QList<QWidget *> order = {
        ListView1,    Option1, Option2,     PushButton3,  PushButton20, PushButton18, PushButton15,
        PushButton22, Text1,   PushButton2, PushButton19, PushButton1,  PushButton17, PushButton16};
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
}

void Form1::connectHandlers()
{
    // A button pressed while another command runs waits its turn.
    const auto command = [this](QPushButton *button, const char *name, void (Form1::*handler)()) {
        connect(button, &QPushButton::clicked, this,
                m_commands.bind(QCoreApplication::translate("Tarnwell", name),
                                [this, handler] { (this->*handler)(); }));
    };
    command(PushButton1, QT_TRANSLATE_NOOP("Tarnwell", "Clear All Items"),
            &Form1::PushButton1_Click);
    command(PushButton2, QT_TRANSLATE_NOOP("Tarnwell", "Add"), &Form1::PushButton2_Click);
    command(PushButton19, QT_TRANSLATE_NOOP("Tarnwell", "Remove Selected Item"),
            &Form1::PushButton19_Click);
    command(PushButton22, QT_TRANSLATE_NOOP("Tarnwell", "Load Sample/Example List"),
            &Form1::PushButton22_Click);
    command(PushButton17, QT_TRANSLATE_NOOP("Tarnwell", "Remove Items With"),
            &Form1::PushButton17_Click);
    command(PushButton16, QT_TRANSLATE_NOOP("Tarnwell", "Remove Items Without"),
            &Form1::PushButton16_Click);
    command(PushButton3, QT_TRANSLATE_NOOP("Tarnwell", "Load List From Text File"),
            &Form1::PushButton3_Click);
    command(PushButton20, QT_TRANSLATE_NOOP("Tarnwell", "Save List To Text File"),
            &Form1::PushButton20_Click);
    command(PushButton18, QT_TRANSLATE_NOOP("Tarnwell", "Load List From Excel File"),
            &Form1::PushButton18_Click);
    command(PushButton15, QT_TRANSLATE_NOOP("Tarnwell", "Save List To Excel File"),
            &Form1::PushButton15_Click);
    // clicked() comes from the user only, so restoring the option at start-up stores nothing.
    connect(Option1, &QRadioButton::clicked, this, &Form1::Option1_Click);
    connect(Option2, &QRadioButton::clicked, this, &Form1::Option2_Click);
    m_focusWatch = connect(qApp, &QApplication::focusChanged, this,
                           [this](QWidget *, QWidget *now) { showDefaultButton(now); });
}

void Form1::showDefaultButton(QWidget *focused)
{
    // A focused button takes Enter itself and shows the default frame; "Add" shows it while
    // the focus is anywhere else in the window.
    const auto *button = qobject_cast<QPushButton *>(focused);
    const bool enterRunsAdd = button == nullptr || button == PushButton2;
    if (focused != nullptr && focused->window() != this)
        return;
    PushButton2->setDefault(enterRunsAdd);
}

void Form1::closeEvent(QCloseEvent *event)
{
    // Closing ends the program at once: a command still yielding stops handling events, and
    // shows nothing more.
    m_closed = true;
    m_commands.close();
    // A normal close: the list is not kept for the next start.
    if (m_recovery != nullptr)
        m_recovery->closeNormally();
    m_reporter.mute();
    event->accept();
    QCoreApplication::quit();
}

// A background the design fixes comes with the text colour that reads on it: the desktop's
// theme may give light text for its own dark backgrounds.
void Form1::setBackground(QWidget *widget, const QColor &colour, const QColor &text)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    palette.setColor(QPalette::WindowText, text);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

// ---- shared state ---------------------------------------------------------------------------

CaseOption Form1::caseOption() const
{
    return caseOptionFromButtons(Option1->isChecked(), Option2->isChecked());
}

void Form1::setStatus(const QString &text)
{
    m_statusBeforeWait.reset();
    Label1->setText(text);
    // The line is as wide as the window lets it be; a long report reads whole on hovering.
    Label1->setToolTip(text);
    // Screen readers announce what the status line now says: it is the line's name.
    Label1->setAccessibleName(text.isEmpty() ? QCoreApplication::translate("Tarnwell", "Status")
                                             : text);
    Label1->setAccessibleDescription(text);
    QAccessibleEvent changed(Label1, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
}

void Form1::setProgress(double percent)
{
    ProgressBar1->setValue(int(percent));
}

void Form1::yieldToEventLoop()
{
    if (!m_closed)
        QCoreApplication::processEvents();
}

void Form1::notify(const QString &text)
{
    msgBox(text);
}

Prompts::Answer Form1::msgBox(const QString &text, Prompts::Style style)
{
    return m_services.prompts.messageBox(text, style, m_appTitle);
}

// ---- case option ----------------------------------------------------------------------------

void Form1::Option1_Click()
{
    storeCaseOption();
}

void Form1::Option2_Click()
{
    storeCaseOption();
}

void Form1::storeCaseOption()
{
    // No error report for option clicks; a store that cannot be written is told plainly.
    try {
        m_settings.write(QStringLiteral("Option1"), storedBooleanText(Option1->isChecked()));
        m_settings.write(QStringLiteral("Option2"), storedBooleanText(Option2->isChecked()));
    } catch (const Failure &failure) {
        msgBox(failure.description());
    }
}
