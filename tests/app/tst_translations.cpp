#include "Fakes.h"
#include "Form1.h"
#include "ListCounts.h"
#include "ListMenu.h"
#include "NearDuplicateReview.h"
#include "NearDuplicatesDialog.h"
#include "Translations.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {
struct Message
{
    QString source;
    QStringList forms; // the translation, or its plural forms
    bool finished = true;
};

// The messages of a translation file, as translators and lupdate write them.
QList<Message> messagesIn(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    QList<Message> messages;
    QXmlStreamReader xml(&file);
    Message message;
    // The reader gives a "byte" element for each carriage return the texts hold.
    QString *text = nullptr;
    while (!xml.atEnd()) {
        xml.readNext();
        const auto name = xml.name();
        if (xml.isStartElement()) {
            if (name == u"message") {
                message = {};
            } else if (name == u"source") {
                text = &message.source;
            } else if (name == u"translation") {
                message.finished = xml.attributes().value(QLatin1String("type")) != u"unfinished";
                message.forms.append(QString());
                text = &message.forms.last();
            } else if (name == u"numerusform") {
                if (message.forms.size() == 1 && message.forms.first().trimmed().isEmpty())
                    message.forms.clear();
                message.forms.append(QString());
                text = &message.forms.last();
            } else if (name == u"byte" && text != nullptr) {
                text->append(
                    QChar(xml.attributes().value(QLatin1String("value")).toUInt(nullptr, 16)));
            }
        } else if (xml.isCharacters() && text != nullptr) {
            text->append(xml.text());
        } else if (xml.isEndElement()) {
            if (name == u"source" || name == u"numerusform" || name == u"translation")
                text = nullptr;
            else if (name == u"message")
                messages.append(message);
        }
    }
    if (xml.hasError())
        qFatal("%s: %s", qPrintable(path), qPrintable(xml.errorString()));
    return messages;
}

QStringList placeholders(const QString &text)
{
    static const QRegularExpression marker(QStringLiteral("%(n|L?[1-9])"));
    QStringList found;
    for (const QRegularExpressionMatch &match : marker.globalMatch(text))
        found.append(match.captured());
    found.removeDuplicates();
    found.sort();
    return found;
}

QString translationFile(const QString &language)
{
    return QStringLiteral(TARNWELL_TRANSLATIONS_DIR "/tarnwell_%1.ts").arg(language);
}

// Every text a user reads or hears of the window, the near-duplicate review and the list's
// menu, in the order they are made: captions, tooltips, accessible names and descriptions.
QStringList shownTexts(const QLocale &locale)
{
    Translations::install(locale);
    TestFolders folders;
    TestWindow window(folders.program.path());
    window.form->listMenu().findNearDuplicates();
    QList<QWidget *> widgets = window.form->findChildren<QWidget *>();
    widgets.prepend(window.form.get());
    widgets += window.form->nearDuplicates().dialog()->findChildren<QWidget *>();
    QStringList texts;
    for (const QWidget *widget : widgets) {
        texts << widget->windowTitle() << widget->toolTip() << widget->accessibleName()
              << widget->accessibleDescription() << widget->statusTip() << widget->whatsThis();
        if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
            texts << button->text();
        if (const auto *label = qobject_cast<const QLabel *>(widget))
            texts << label->text();
        if (const auto *box = qobject_cast<const QGroupBox *>(widget))
            texts << box->title();
        if (const auto *combo = qobject_cast<const QComboBox *>(widget)) {
            for (int i = 0; i < combo->count(); ++i)
                texts << combo->itemText(i);
        }
        if (const auto *menu = qobject_cast<const QMenu *>(widget)) {
            for (const QAction *action : menu->actions())
                texts << action->text() << action->toolTip();
        }
    }
    return texts;
}
} // namespace

class TranslationsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { Translations::install(QLocale(QLocale::English)); }
    void everyTextTranslatedWithItsPlaceholders_data();
    void everyTextTranslatedWithItsPlaceholders();
    void theFilesHoldEveryTextOfTheCode();
    void pluralFormsAndFallBack_data();
    void pluralFormsAndFallBack();
    void windowSpeaksTheLocalesLanguage();
    void captionsFitTheirButtons_data();
    void captionsFitTheirButtons();
    void noTextLeftInEnglish_data();
    void noTextLeftInEnglish();
    void helpSpeaksTheLocalesLanguage_data();
    void helpSpeaksTheLocalesLanguage();
    void everyMenuEntryHasItsOwnMnemonic_data() { captionsFitTheirButtons_data(); }
    void everyMenuEntryHasItsOwnMnemonic();
};

void TranslationsTest::everyTextTranslatedWithItsPlaceholders_data()
{
    QTest::addColumn<QString>("language");
    for (const QString &language : Translations::shipped())
        QTest::newRow(qPrintable(language)) << language;
}

// A shipped language has every text, each plural form keeps the placeholders the English
// text has, and its mnemonics stay one letter each.
void TranslationsTest::everyTextTranslatedWithItsPlaceholders()
{
    QFETCH(QString, language);
    const QList<Message> messages = messagesIn(translationFile(language));
    QVERIFY(messages.size() > 150);
    for (const Message &message : messages) {
        const QByteArray what = message.source.toUtf8();
        QVERIFY2(message.finished && !message.forms.isEmpty(), what.constData());
        for (const QString &form : message.forms) {
            QVERIFY2(!form.trimmed().isEmpty(), what.constData());
            QCOMPARE(placeholders(form), placeholders(message.source));
            QCOMPARE(form.count(u'&') - 2 * form.count(QStringLiteral("&&")),
                     message.source.count(u'&') - 2 * message.source.count(QStringLiteral("&&")));
        }
    }
}

// The files are what lupdate finds in the code now: a text added to the code without a
// translation fails here.
void TranslationsTest::theFilesHoldEveryTextOfTheCode()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString fresh = folder.filePath(QStringLiteral("fresh.ts"));
    QStringList arguments;
    for (const char *sources : {"app", "io", "list", "trap"})
        arguments << QStringLiteral(TARNWELL_SOURCE_DIR "/%1").arg(QLatin1String(sources));
    arguments << QStringLiteral("-locations") << QStringLiteral("none") << QStringLiteral("-ts")
              << fresh;
    QProcess lupdate;
    lupdate.start(QStringLiteral(TARNWELL_LUPDATE), arguments);
    QVERIFY(lupdate.waitForFinished(60000));
    QCOMPARE(lupdate.exitCode(), 0);
    QSet<QString> inCode;
    for (const Message &message : messagesIn(fresh))
        inCode.insert(message.source);
    for (const QString &language : Translations::shipped() + QStringList{QStringLiteral("en")}) {
        QSet<QString> inFile;
        for (const Message &message : messagesIn(translationFile(language)))
            inFile.insert(message.source);
        QCOMPARE(QSet<QString>(inCode).subtract(inFile), QSet<QString>());
        QCOMPARE(QSet<QString>(inFile).subtract(inCode), QSet<QString>());
    }
}

void TranslationsTest::pluralFormsAndFallBack_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("added");
    QTest::newRow("English, one") << "en_US" << 1 << "1 item added.";
    QTest::newRow("English, none") << "en_US" << 0 << "0 items added.";
    QTest::newRow("English, many") << "en_US" << 5 << "5 items added.";
    QTest::newRow("no language set: English") << "C" << 1 << "1 item added.";
    QTest::newRow("not shipped: English") << "ja_JP" << 2 << "2 items added.";
    QTest::newRow("German, one") << "de_DE" << 1 << "1 Eintrag hinzugefügt.";
    QTest::newRow("German, many") << "de_AT" << 3 << "3 Einträge hinzugefügt.";
    QTest::newRow("French, none is one") << "fr_FR" << 0 << "0 élément ajouté.";
    QTest::newRow("French, many") << "fr_CA" << 2 << "2 éléments ajoutés.";
}

void TranslationsTest::pluralFormsAndFallBack()
{
    QFETCH(QString, locale);
    QFETCH(int, count);
    QFETCH(QString, added);
    Translations::install(QLocale(locale));
    QCOMPARE(QCoreApplication::translate("Tarnwell", "%n item(s) added.", nullptr, count), added);
}

// Under the machine's language (CTest sets LANG=de_DE.UTF-8), the window speaks it.
void TranslationsTest::windowSpeaksTheLocalesLanguage()
{
    if (QLocale::system().language() != QLocale::German)
        QSKIP("run with LANG=de_DE.UTF-8, as CTest does");
    Translations::install();
    TestFolders folders;
    TestWindow window(folders.program.path());
    QCOMPARE(window.control<QPushButton>("PushButton3")->text(),
             QStringLiteral("Liste aus Textdatei laden"));
    QCOMPARE(window.control<QPushButton>("PushButton2")->text(), QStringLiteral("Hinzufügen"));
}

void TranslationsTest::captionsFitTheirButtons_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("en") << "en";
    for (const QString &language : Translations::shipped())
        QTest::newRow(qPrintable(language)) << language;
}

// The window's buttons and options show their whole captions in every language.
void TranslationsTest::captionsFitTheirButtons()
{
    QFETCH(QString, language);
    Translations::install(QLocale(language));
    TestFolders folders;
    TestWindow window(folders.program.path());
    window.form->show();
    for (const QAbstractButton *button : window.form->findChildren<QAbstractButton *>()) {
        if (!button->isVisible() || button->text().isEmpty())
            continue;
        QVERIFY2(button->sizeHint().width() <= button->width() + 8, qPrintable(button->text()));
    }
}

void TranslationsTest::noTextLeftInEnglish_data()
{
    QTest::addColumn<QString>("language");
    for (const QString &language : Translations::shipped())
        QTest::newRow(qPrintable(language)) << language;
}

// A text shown the same in English and in a shipped language is one its translators chose to
// keep ("OK"): any other was never handed to the translations, as a literal in the code.
void TranslationsTest::noTextLeftInEnglish()
{
    QFETCH(QString, language);
    QSet<QString> keptAsIs;
    for (const Message &message : messagesIn(translationFile(language))) {
        if (message.forms.contains(message.source))
            keptAsIs.insert(message.source);
    }
    const QStringList english = shownTexts(QLocale(QLocale::English));
    const QStringList translated = shownTexts(QLocale(language));
    QCOMPARE(translated.size(), english.size());
    int compared = 0;
    for (qsizetype i = 0; i < english.size(); ++i) {
        const QString &text = english[i];
        static const QRegularExpression words(QStringLiteral("[a-z]{2}"));
        if (!text.contains(words) || text == u"Tarnwell") // no words, or the program's name
            continue;
        ++compared;
        QVERIFY2(translated[i] != text || keptAsIs.contains(text), qPrintable(text));
    }
    QVERIFY(compared > 60);
}

void TranslationsTest::helpSpeaksTheLocalesLanguage_data()
{
    QTest::addColumn<QString>("lang");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("has");
    QTest::newRow("German --help") << "de_DE.UTF-8" << QStringList{"--help"}
                                   << "Zeigt die Hilfe zu den Befehlszeilenoptionen an.";
    QTest::newRow("French --help")
        << "fr_FR.UTF-8" << QStringList{"--help"} << "Affiche la version.";
    QTest::newRow("German --help-all: Qt's options too")
        << "de_DE.UTF-8" << QStringList{"--help-all"} << "Optionen des Fenstersystems (Qt):";
    QTest::newRow("French, an unknown option")
        << "fr_FR.UTF-8" << QStringList{"--frobnicate"} << "Option inconnue « frobnicate »";
}

// The program answers its command line, without a display, in the locale's language.
void TranslationsTest::helpSpeaksTheLocalesLanguage()
{
    QFETCH(QString, lang);
    QFETCH(QStringList, arguments);
    QFETCH(QString, has);
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANGUAGE", "DISPLAY", "WAYLAND_DISPLAY"})
        environment.remove(QLatin1String(name));
    environment.insert(QStringLiteral("LANG"), lang);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(TARNWELL_BINARY), arguments);
    QVERIFY(program.waitForFinished(30000));
    const QString output =
        QString::fromUtf8(program.readAllStandardOutput() + program.readAllStandardError());
    QVERIFY2(output.contains(has), qPrintable(output));
}

// The list's menu and its submenus by keyboard: each entry has a letter of its own in its menu.
void TranslationsTest::everyMenuEntryHasItsOwnMnemonic()
{
    QFETCH(QString, language);
    Translations::install(QLocale(language));
    TestFolders folders;
    TestWindow window(folders.program.path());
    QList<QMenu *> menus{&window.form->listMenu().menu()};
    int entries = 0;
    for (qsizetype i = 0; i < menus.size(); ++i) {
        QSet<QKeySequence> taken;
        for (const QAction *action : menus[i]->actions()) {
            // The counts' line is no command.
            if (action->isSeparator() || action->text() == ListCounts::text(window.form->items()))
                continue;
            ++entries;
            const QKeySequence mnemonic = QKeySequence::mnemonic(action->text());
            QVERIFY2(!mnemonic.isEmpty(), qPrintable(action->text()));
            QVERIFY2(!taken.contains(mnemonic), qPrintable(action->text()));
            taken.insert(mnemonic);
            if (action->menu() != nullptr)
                menus.append(action->menu());
        }
    }
    QCOMPARE(menus.size(), 3);
    QVERIFY(entries >= 30);
}

QTEST_MAIN(TranslationsTest)
#include "tst_translations.moc"
