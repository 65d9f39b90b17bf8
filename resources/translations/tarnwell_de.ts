<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>QCommandLineParser</name>
    <message>
        <source>Usage: %1</source>
        <translation>Aufruf: %1</translation>
    </message>
    <message>
        <source>[options]</source>
        <translation>[Optionen]</translation>
    </message>
    <message>
        <source>Options:</source>
        <translation>Optionen:</translation>
    </message>
    <message>
        <source>Arguments:</source>
        <translation>Argumente:</translation>
    </message>
    <message>
        <source>Displays help on commandline options.</source>
        <translation>Zeigt die Hilfe zu den Befehlszeilenoptionen an.</translation>
    </message>
    <message>
        <source>Displays help including Qt specific options.</source>
        <translation>Zeigt die Hilfe einschließlich der Optionen von Qt an.</translation>
    </message>
    <message>
        <source>Displays version information.</source>
        <translation>Zeigt die Version an.</translation>
    </message>
    <message>
        <source>Unknown option &apos;%1&apos;.</source>
        <translation>Unbekannte Option „%1“.</translation>
    </message>
    <message>
        <source>Unknown options: %1.</source>
        <translation>Unbekannte Optionen: %1.</translation>
    </message>
    <message>
        <source>Missing value after &apos;%1&apos;.</source>
        <translation>Fehlender Wert nach „%1“.</translation>
    </message>
    <message>
        <source>Unexpected value after &apos;%1&apos;.</source>
        <translation>Unerwarteter Wert nach „%1“.</translation>
    </message>
</context>
<context>
    <name>Tarnwell</name>
    <message>
        <source>Check Mark</source>
        <translation>Häkchen</translation>
    </message>
    <message>
        <source>Check Marks</source>
        <translation>Häkchen</translation>
    </message>
    <message>
        <source>Change</source>
        <translation>Änderung</translation>
    </message>
    <message>
        <source>Compare:</source>
        <translation>Vergleichen:</translation>
    </message>
    <message>
        <source>Whole &amp;items</source>
        <translation>Ganze &amp;Einträge</translation>
    </message>
    <message>
        <source>E-&amp;mail addresses</source>
        <translation>E-&amp;Mail-Adressen</translation>
    </message>
    <message>
        <source>Colum&amp;n</source>
        <translation>S&amp;palte</translation>
    </message>
    <message>
        <source>Each item as it stands</source>
        <translation>Jeder Eintrag so, wie er ist</translation>
    </message>
    <message>
        <source>comma</source>
        <translation>Komma</translation>
    </message>
    <message>
        <source>semicolon</source>
        <translation>Semikolon</translation>
    </message>
    <message>
        <source>tab</source>
        <translation>Tabulator</translation>
    </message>
    <message>
        <source>Delimiter</source>
        <translation>Trennzeichen</translation>
    </message>
    <message>
        <source>Column number</source>
        <translation>Spaltennummer</translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) checked.</source>
        <translation>
            <numerusform>%n Eintrag abgehakt.</numerusform>
            <numerusform>%n Einträge abgehakt.</numerusform>
        </translation>
    </message>
    <message>
        <source>Paste Items</source>
        <translation>Einträge einfügen</translation>
    </message>
    <message>
        <source>Check All Items</source>
        <translation>Alle Einträge abhaken</translation>
    </message>
    <message>
        <source>Uncheck All Items</source>
        <translation>Alle Häkchen entfernen</translation>
    </message>
    <message>
        <source>Invert Check Marks</source>
        <translation>Häkchen umkehren</translation>
    </message>
    <message>
        <source>Check Selected Items</source>
        <translation>Ausgewählte Einträge abhaken</translation>
    </message>
    <message>
        <source>Uncheck Selected Items</source>
        <translation>Häkchen ausgewählter Einträge entfernen</translation>
    </message>
    <message>
        <source>Sort A to Z</source>
        <translation>Sortieren A bis Z</translation>
    </message>
    <message>
        <source>Sort Z to A</source>
        <translation>Sortieren Z bis A</translation>
    </message>
    <message>
        <source>Reverse Order</source>
        <translation>Reihenfolge umkehren</translation>
    </message>
    <message>
        <source>Undone: %1</source>
        <translation>Rückgängig gemacht: %1</translation>
    </message>
    <message>
        <source>Redone: %1</source>
        <translation>Wiederholt: %1</translation>
    </message>
    <message>
        <source>Find: </source>
        <translation>Suchen: </translation>
    </message>
    <message>
        <source>Not found: %1</source>
        <translation>Nicht gefunden: %1</translation>
    </message>
    <message>
        <source>You forgot to load in List</source>
        <translation>Sie haben vergessen, eine Liste zu laden</translation>
    </message>
    <message>
        <source>Enter string: </source>
        <translation>Text eingeben: </translation>
    </message>
    <message>
        <source>Check Items With &quot;%1&quot;</source>
        <translation>Einträge mit „%1“ abhaken</translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) copied.</source>
        <translation>
            <numerusform>%n Eintrag kopiert.</numerusform>
            <numerusform>%n Einträge kopiert.</numerusform>
        </translation>
    </message>
    <message>
        <source>The program holding the clipboard did not answer.</source>
        <translation>Das Programm, dem die Zwischenablage gehört, hat nicht geantwortet.</translation>
    </message>
    <message>
        <source>The clipboard holds no text to paste.</source>
        <translation>Die Zwischenablage enthält keinen Text zum Einfügen.</translation>
    </message>
    <message>
        <source>Text Files (*.txt)</source>
        <translation>Textdateien (*.txt)</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Remove Items Whose Address Is Listed in File(s)</source>
        <translation>Einträge entfernen, deren Adresse in Datei(en) steht</translation>
    </message>
    <message>
        <source>Remove Items Listed in File(s)</source>
        <translation>In Datei(en) aufgeführte Einträge entfernen</translation>
    </message>
    <message>
        <source>Keep Only Items Whose Address Is Listed in File(s)</source>
        <translation>Nur Einträge behalten, deren Adresse in Datei(en) steht</translation>
    </message>
    <message>
        <source>Keep Only Items Listed in File(s)</source>
        <translation>Nur in Datei(en) aufgeführte Einträge behalten</translation>
    </message>
    <message>
        <source>Save Removed Items</source>
        <translation>Entfernte Einträge speichern</translation>
    </message>
    <message>
        <source>Are you sure you wish to overwrite %1 ?</source>
        <translation>Möchten Sie %1 wirklich überschreiben?</translation>
    </message>
    <message>
        <source>Done.</source>
        <translation>Fertig.</translation>
    </message>
    <message>
        <source>Sorted A to Z.</source>
        <translation>Von A bis Z sortiert.</translation>
    </message>
    <message>
        <source>Sorted Z to A.</source>
        <translation>Von Z bis A sortiert.</translation>
    </message>
    <message>
        <source>Order reversed.</source>
        <translation>Reihenfolge umgekehrt.</translation>
    </message>
    <message>
        <source>Find Near Duplicates</source>
        <translation>Ähnliche Einträge suchen</translation>
    </message>
    <message>
        <source>Remove Near Duplicates</source>
        <translation>Ähnliche Einträge entfernen</translation>
    </message>
    <message>
        <source>The list changed, so its near duplicates were found again.</source>
        <translation>Die Liste hat sich geändert, deshalb wurden ihre ähnlichen Einträge neu gesucht.</translation>
    </message>
    <message numerus="yes">
        <source>%n near duplicate(s) removed.</source>
        <translation>
            <numerusform>%n ähnlicher Eintrag entfernt.</numerusform>
            <numerusform>%n ähnliche Einträge entfernt.</numerusform>
        </translation>
    </message>
    <message>
        <source>Items that are alike once these differences are ignored:</source>
        <translation>Einträge, die gleich sind, wenn diese Unterschiede nicht zählen:</translation>
    </message>
    <message>
        <source>&amp;Letter case</source>
        <translation>&amp;Groß-/Kleinschreibung</translation>
    </message>
    <message>
        <source>&quot;MÜLLER&quot; = &quot;müller&quot;, &quot;ß&quot; = &quot;ss&quot;</source>
        <translation>„MÜLLER“ = „müller“, „ß“ = „ss“</translation>
    </message>
    <message>
        <source>C&amp;ompatibility forms</source>
        <translation>K&amp;ompatibilitätsformen</translation>
    </message>
    <message>
        <source>&quot;ﬁ&quot; = &quot;fi&quot;, full-width = ASCII</source>
        <translation>„ﬁ“ = „fi“, volle Breite = ASCII</translation>
    </message>
    <message>
        <source>&amp;Blanks and invisible characters</source>
        <translation>&amp;Leerraum und unsichtbare Zeichen</translation>
    </message>
    <message>
        <source>trimmed, collapsed, dropped</source>
        <translation>gekürzt, zusammengefasst, entfernt</translation>
    </message>
    <message>
        <source>&amp;Accents and other marks</source>
        <translation>&amp;Akzente und andere Zeichen</translation>
    </message>
    <message>
        <source>&quot;José&quot; = &quot;Jose&quot;</source>
        <translation>„José“ = „Jose“</translation>
    </message>
    <message>
        <source>&amp;Punctuation and symbols</source>
        <translation>Satz&amp;zeichen und Symbole</translation>
    </message>
    <message>
        <source>&quot;o&apos;brien&quot; = &quot;obrien&quot;</source>
        <translation>„o&apos;brien“ = „obrien“</translation>
    </message>
    <message>
        <source>&amp;Word order</source>
        <translation>&amp;Wortreihenfolge</translation>
    </message>
    <message>
        <source>&quot;Smith, John&quot; = &quot;John Smith&quot; with punctuation</source>
        <translation>„Smith, John“ = „John Smith“ mit Satzzeichen</translation>
    </message>
    <message>
        <source>&amp;Spelling slips</source>
        <translation>&amp;Tippfehler</translation>
    </message>
    <message>
        <source>&quot;jonh&quot; = &quot;john&quot;: a character added, left out, changed or two swapped; two such slips from 12 characters on; never under 5 characters, never in a number</source>
        <translation>„jonh“ = „john“: ein Zeichen hinzugefügt, ausgelassen, geändert oder zwei vertauscht; ab 12 Zeichen zwei solche Fehler; nie unter 5 Zeichen, nie in einer Zahl</translation>
    </message>
    <message>
        <source>&amp;Remove All but the Kept Item of Each Ticked Group</source>
        <translation>Alle außer dem behaltenen Eintrag jeder abgehakten Gruppe ent&amp;fernen</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>No near duplicates found.</source>
        <translation>Keine ähnlichen Einträge gefunden.</translation>
    </message>
    <message numerus="yes">
        <source>%n group(s)</source>
        <translation>
            <numerusform>%n Gruppe</numerusform>
            <numerusform>%n Gruppen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n item(s)</source>
        <translation>
            <numerusform>%n Eintrag</numerusform>
            <numerusform>%n Einträge</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n items, keeping %1</source>
        <translation>
            <numerusform>%n Eintrag, %1 bleibt</numerusform>
            <numerusform>%n Einträge, %1 bleibt</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n items, all kept, like %1</source>
        <translation>
            <numerusform>%n Eintrag, alle behalten, wie %1</numerusform>
            <numerusform>%n Einträge, alle behalten, wie %1</numerusform>
        </translation>
    </message>
    <message>
        <source>Compared as %1; in brackets: its characters → the kept item&apos;s</source>
        <translation>Verglichen als %1; in Klammern: seine Zeichen → die des behaltenen Eintrags</translation>
    </message>
    <message>
        <source>kept</source>
        <translation>behalten</translation>
    </message>
    <message>
        <source>Groups and their items</source>
        <translation>Gruppen und ihre Einträge</translation>
    </message>
    <message>
        <source>Keep</source>
        <translation>Behalten</translation>
    </message>
    <message>
        <source>Differs from the kept item</source>
        <translation>Unterschied zum behaltenen Eintrag</translation>
    </message>
    <message>
        <source>Near-duplicate groups</source>
        <translation>Gruppen ähnlicher Einträge</translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) changed.</source>
        <translation>
            <numerusform>%n Eintrag geändert.</numerusform>
            <numerusform>%n Einträge geändert.</numerusform>
        </translation>
    </message>
    <message>
        <source>Trim Blanks</source>
        <translation>Leerraum an den Enden entfernen</translation>
    </message>
    <message>
        <source>Collapse Inner Blanks</source>
        <translation>Inneren Leerraum zusammenfassen</translation>
    </message>
    <message>
        <source>Remove Invisible Characters</source>
        <translation>Unsichtbare Zeichen entfernen</translation>
    </message>
    <message>
        <source>Remove Empty Items</source>
        <translation>Leere Einträge entfernen</translation>
    </message>
    <message>
        <source>Lower Case</source>
        <translation>Kleinbuchstaben</translation>
    </message>
    <message>
        <source>Upper Case</source>
        <translation>Großbuchstaben</translation>
    </message>
    <message numerus="yes">
        <source>%n empty item(s) removed.</source>
        <translation>
            <numerusform>%n leerer Eintrag entfernt.</numerusform>
            <numerusform>%n leere Einträge entfernt.</numerusform>
        </translation>
    </message>
    <message>
        <source>Keeps one list of text items and removes its duplicates.</source>
        <translation>Führt eine Liste von Texteinträgen und entfernt ihre Duplikate.</translation>
    </message>
    <message>
        <source>files</source>
        <translation>Dateien</translation>
    </message>
    <message>
        <source>Text files to load, one item per line.</source>
        <translation>Zu ladende Textdateien, ein Eintrag pro Zeile.</translation>
    </message>
    <message>
        <source>[files...]</source>
        <translation>[Dateien...]</translation>
    </message>
    <message>
        <source>%1: %2
Try &apos;%1 --help&apos; for more information.
</source>
        <translation>%1: %2
»%1 --help« gibt weitere Informationen.
</translation>
    </message>
    <message>
        <source>The file name buffer is too small for the selected files</source>
        <translation>Der Puffer für Dateinamen ist zu klein für die ausgewählten Dateien</translation>
    </message>
    <message>
        <source>Could not open %1</source>
        <translation>%1 konnte nicht geöffnet werden</translation>
    </message>
    <message>
        <source>Could not write the settings file %1</source>
        <translation>Die Einstellungsdatei %1 konnte nicht geschrieben werden</translation>
    </message>
    <message>
        <source>Type mismatch</source>
        <translation>Typen unverträglich</translation>
    </message>
    <message>
        <source>%1 waits for %2 to finish.</source>
        <translation>%1 wartet, bis %2 fertig ist.</translation>
    </message>
    <message>
        <source>Double-click item to remove it. Move | line to right and out of window to reveal full names.</source>
        <translation>Doppelklick auf einen Eintrag entfernt ihn. Die Linie | nach rechts aus dem Fenster ziehen, um ganze Namen zu sehen.</translation>
    </message>
    <message>
        <source>Items</source>
        <translation>Einträge</translation>
    </message>
    <message>
        <source>Duplicate Options</source>
        <translation>Duplikat-Optionen</translation>
    </message>
    <message>
        <source>Match case</source>
        <translation>Groß-/Kleinschreibung beachten</translation>
    </message>
    <message>
        <source>Ignore case</source>
        <translation>Groß-/Kleinschreibung ignorieren</translation>
    </message>
    <message>
        <source>Enter New Item</source>
        <translation>Neuen Eintrag eingeben</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>Load List From Text File</source>
        <translation>Liste aus Textdatei laden</translation>
    </message>
    <message>
        <source>Save List To Text File</source>
        <translation>Liste in Textdatei speichern</translation>
    </message>
    <message>
        <source>Clear All Items</source>
        <translation>Alle Einträge löschen</translation>
    </message>
    <message>
        <source>Remove Items With...</source>
        <translation>Einträge entfernen mit...</translation>
    </message>
    <message>
        <source>Remove Items Without...</source>
        <translation>Einträge entfernen ohne...</translation>
    </message>
    <message>
        <source>Load List From Excel File</source>
        <translation>Liste aus Excel-Datei laden</translation>
    </message>
    <message>
        <source>Remove Selected Item</source>
        <translation>Ausgewählten Eintrag entfernen</translation>
    </message>
    <message>
        <source>Save List To Excel File</source>
        <translation>Liste in Excel-Datei speichern</translation>
    </message>
    <message>
        <source>Load Sample/Example List</source>
        <translation>Beispielliste laden</translation>
    </message>
    <message>
        <source> (too large to keep for undo)</source>
        <translation> (zu groß, um es rückgängig machen zu können)</translation>
    </message>
    <message>
        <source>Remove Items With</source>
        <translation>Einträge entfernen mit</translation>
    </message>
    <message>
        <source>Remove Items Without</source>
        <translation>Einträge entfernen ohne</translation>
    </message>
    <message>
        <source>Items:</source>
        <translation>Einträge:</translation>
    </message>
    <message>
        <source>Cannot read the skin %1: %2</source>
        <translation>Die Oberfläche %1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>Not a file: %1</source>
        <translation>Keine Datei: %1</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>Invalid picture: %1</source>
        <translation>Ungültiges Bild: %1</translation>
    </message>
    <message>
        <source>Are you sure you want to clear the list?</source>
        <translation>Möchten Sie die Liste wirklich leeren?</translation>
    </message>
    <message>
        <source>List cleared.</source>
        <translation>Liste geleert.</translation>
    </message>
    <message>
        <source>Duplicate item found, not added.</source>
        <translation>Doppelter Eintrag gefunden, nicht hinzugefügt.</translation>
    </message>
    <message>
        <source>Unique item, added.</source>
        <translation>Neuer Eintrag, hinzugefügt.</translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) added.</source>
        <translation>
            <numerusform>%n Eintrag hinzugefügt.</numerusform>
            <numerusform>%n Einträge hinzugefügt.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) added</source>
        <translation>
            <numerusform>%n Eintrag hinzugefügt</numerusform>
            <numerusform>%n Einträge hinzugefügt</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>, %n duplicate(s) not added.</source>
        <translation>
            <numerusform>, %n Duplikat nicht hinzugefügt.</numerusform>
            <numerusform>, %n Duplikate nicht hinzugefügt.</numerusform>
        </translation>
    </message>
    <message>
        <source>Remove Item</source>
        <translation>Eintrag entfernen</translation>
    </message>
    <message>
        <source>You forgot to load in List 1.</source>
        <translation>Sie haben vergessen, Liste 1 zu laden.</translation>
    </message>
    <message>
        <source>Remove Items With &quot;%1&quot;</source>
        <translation>Einträge mit „%1“ entfernen</translation>
    </message>
    <message>
        <source>Remove Items Without &quot;%1&quot;</source>
        <translation>Einträge ohne „%1“ entfernen</translation>
    </message>
    <message>
        <source>Text Files (*.txt)|*.txt|All Files (*.*)|*.*|</source>
        <translation>Textdateien (*.txt)|*.txt|Alle Dateien (*.*)|*.*|</translation>
    </message>
    <message>
        <source>Load List(s) - Hold Ctrl to select multiple list files</source>
        <translation>Liste(n) laden – Strg gedrückt halten, um mehrere Listendateien auszuwählen</translation>
    </message>
    <message>
        <source>You&apos;ve selected too many files to add.<byte value="xd"/><byte value="xd"/>Please load them in smaller groups.</source>
        <translation>Sie haben zu viele Dateien zum Hinzufügen ausgewählt.<byte value="xd"/><byte value="xd"/>Bitte laden Sie sie in kleineren Gruppen.</translation>
    </message>
    <message>
        <source>%1<byte value="xd"/><byte value="xd"/>This folder holds no files to load.</source>
        <translation>%1<byte value="xd"/><byte value="xd"/>Dieser Ordner enthält keine Dateien zum Laden.</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message numerus="yes">
        <source>Writing %1 item(s) to Calc...</source>
        <translation>
            <numerusform>%1 Eintrag wird in Calc geschrieben...</numerusform>
            <numerusform>%1 Einträge werden in Calc geschrieben...</numerusform>
        </translation>
    </message>
    <message>
        <source>Starting LibreOffice Calc...</source>
        <translation>LibreOffice Calc wird gestartet...</translation>
    </message>
    <message>
        <source>Add File</source>
        <translation>Datei hinzufügen</translation>
    </message>
    <message>
        <source>Object variable not set</source>
        <translation>Objektvariable nicht festgelegt</translation>
    </message>
    <message>
        <source>LibreOffice Calc is no longer running</source>
        <translation>LibreOffice Calc läuft nicht mehr</translation>
    </message>
    <message>
        <source>No workbook is open</source>
        <translation>Keine Arbeitsmappe ist geöffnet</translation>
    </message>
    <message>
        <source>&apos;%1&apos; could not be found</source>
        <translation>„%1“ wurde nicht gefunden</translation>
    </message>
    <message>
        <source>LibreOffice Calc cannot open &apos;%1&apos;</source>
        <translation>LibreOffice Calc kann „%1“ nicht öffnen</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a workbook</source>
        <translation>„%1“ ist keine Arbeitsmappe</translation>
    </message>
    <message>
        <source>The workbook is no longer open</source>
        <translation>Die Arbeitsmappe ist nicht mehr geöffnet</translation>
    </message>
    <message>
        <source>an unsaved document</source>
        <translation>ein ungespeichertes Dokument</translation>
    </message>
    <message>
        <source>No temporary folder for reading the sheet</source>
        <translation>Kein temporärer Ordner zum Lesen der Tabelle</translation>
    </message>
    <message>
        <source>LibreOffice Calc did not write the sheet&apos;s text</source>
        <translation>LibreOffice Calc hat den Text der Tabelle nicht geschrieben</translation>
    </message>
    <message>
        <source>Cannot read the sheet&apos;s text: %1</source>
        <translation>Der Text der Tabelle kann nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>The list has more items than a sheet has rows</source>
        <translation>Die Liste hat mehr Einträge, als eine Tabelle Zeilen hat</translation>
    </message>
    <message>
        <source>You marked cells in &quot;%1&quot;. Please mark the block in &quot;%2&quot;, then press OK.</source>
        <translation>Sie haben Zellen in „%1“ markiert. Bitte markieren Sie den Bereich in „%2“ und klicken Sie dann auf OK.</translation>
    </message>
    <message>
        <source>Excel is not installed on this computer. You need to have it installed to use this software without error.</source>
        <translation>Excel ist auf diesem Computer nicht installiert. Es muss installiert sein, damit dieses Programm fehlerfrei läuft.</translation>
    </message>
    <message>
        <source>Excel is not installed on this computer. You need to have it installed to use this feature.</source>
        <translation>Excel ist auf diesem Computer nicht installiert. Es muss installiert sein, um diese Funktion zu nutzen.</translation>
    </message>
    <message>
        <source>You did not select a range. Please try again.</source>
        <translation>Sie haben keinen Bereich ausgewählt. Bitte versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>The workbook was closed in Calc before a block was marked, so nothing was read.</source>
        <translation>Die Arbeitsmappe wurde in Calc geschlossen, bevor ein Bereich markiert war; es wurde nichts gelesen.</translation>
    </message>
    <message>
        <source>Highlight a block of cells with mouse</source>
        <translation>Markieren Sie einen Zellbereich mit der Maus</translation>
    </message>
    <message>
        <source>Mark a block of cells in Calc, then press OK.</source>
        <translation>Markieren Sie einen Zellbereich in Calc und klicken Sie dann auf OK.</translation>
    </message>
    <message>
        <source>LibreOffice Calc is not installed</source>
        <translation>LibreOffice Calc ist nicht installiert</translation>
    </message>
    <message>
        <source>LibreOffice could not be started: %1</source>
        <translation>LibreOffice konnte nicht gestartet werden: %1</translation>
    </message>
    <message>
        <source>Starting LibreOffice was given up</source>
        <translation>Der Start von LibreOffice wurde abgebrochen</translation>
    </message>
    <message>
        <source>LibreOffice did not answer within %1 seconds</source>
        <translation>LibreOffice hat nicht innerhalb von %1 Sekunden geantwortet</translation>
    </message>
    <message>
        <source>LibreOffice Calc reported a failure</source>
        <translation>LibreOffice Calc hat einen Fehler gemeldet</translation>
    </message>
    <message>
        <source>LibreOffice Calc: %1</source>
        <translation>LibreOffice Calc: %1</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>Cannot save %1: %2</source>
        <translation>%1 kann nicht gespeichert werden: %2</translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) hold(s) line breaks: read back from the file, each would be several items.<byte value="xd"/><byte value="xd"/>Save with the line breaks as blanks?</source>
        <translation>
            <numerusform>%n Eintrag enthält Zeilenumbrüche: Aus der Datei zurückgelesen, würde er zu mehreren Einträgen.<byte value="xd"/><byte value="xd"/>Mit den Zeilenumbrüchen als Leerzeichen speichern?</numerusform>
            <numerusform>%n Einträge enthalten Zeilenumbrüche: Aus der Datei zurückgelesen, würde jeder zu mehreren Einträgen.<byte value="xd"/><byte value="xd"/>Mit den Zeilenumbrüchen als Leerzeichen speichern?</numerusform>
        </translation>
    </message>
    <message>
        <source>Save with Blanks</source>
        <translation>Mit Leerzeichen speichern</translation>
    </message>
    <message>
        <source>Don&apos;t Save</source>
        <translation>Nicht speichern</translation>
    </message>
    <message>
        <source>Not saved.</source>
        <translation>Nicht gespeichert.</translation>
    </message>
    <message>
        <source>Cannot read %1</source>
        <translation>%1 kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>Cannot read: %1</source>
        <translation>Lesen nicht möglich: %1</translation>
    </message>
    <message>
        <source>a named pipe</source>
        <translation>eine benannte Pipe</translation>
    </message>
    <message>
        <source>a socket</source>
        <translation>ein Socket</translation>
    </message>
    <message>
        <source>a device</source>
        <translation>ein Gerät</translation>
    </message>
    <message>
        <source>not a file</source>
        <translation>keine Datei</translation>
    </message>
    <message>
        <source>%1<byte value="xd"/><byte value="xd"/>This is %2, not a file; it was not loaded.</source>
        <translation>%1<byte value="xd"/><byte value="xd"/>Das ist %2, keine Datei; es wurde nicht geladen.</translation>
    </message>
    <message>
        <source>Cannot open %1: %2</source>
        <translation>%1 kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>Cannot read %1: it is a folder</source>
        <translation>%1 kann nicht gelesen werden: Es ist ein Ordner</translation>
    </message>
    <message>
        <source>File not found</source>
        <translation>Datei nicht gefunden</translation>
    </message>
    <message>
        <source>List loaded. No duplicates found.</source>
        <translation>Liste geladen. Keine Duplikate gefunden.</translation>
    </message>
    <message>
        <source>List loaded. </source>
        <translation>Liste geladen. </translation>
    </message>
    <message numerus="yes">
        <source>List loaded. %n duplicates found, %n duplicates removed</source>
        <translation>
            <numerusform>Liste geladen. %n Duplikat gefunden, %n Duplikat entfernt</numerusform>
            <numerusform>Liste geladen. %n Duplikate gefunden, %n Duplikate entfernt</numerusform>
        </translation>
    </message>
    <message>
        <source>Application Error</source>
        <translation>Anwendungsfehler</translation>
    </message>
    <message>
        <source>Out of memory</source>
        <translation>Nicht genügend Speicher</translation>
    </message>
    <message>
        <source>The near-duplicate groups changed before their removal&apos;s turn; nothing was removed.</source>
        <translation>Die Gruppen ähnlicher Einträge haben sich geändert, bevor das Entfernen an der Reihe war; nichts wurde entfernt.</translation>
    </message>
    <message>
        <source>Finding near duplicates...</source>
        <translation>Ähnliche Einträge werden gesucht...</translation>
    </message>
    <message>
        <source>Canc&amp;el</source>
        <translation>A&amp;bbrechen</translation>
    </message>
    <message>
        <source>Removing near duplicates...</source>
        <translation>Ähnliche Einträge werden entfernt...</translation>
    </message>
    <message>
        <source>The search was cancelled: no groups shown. Change a box to search again.</source>
        <translation>Die Suche wurde abgebrochen: keine Gruppen angezeigt. Ändern Sie ein Kästchen, um erneut zu suchen.</translation>
    </message>
    <message>
        <source>The search failed: no groups shown. Change a box to search again.</source>
        <translation>Die Suche ist fehlgeschlagen: keine Gruppen angezeigt. Ändern Sie ein Kästchen, um erneut zu suchen.</translation>
    </message>
    <message>
        <source>Too many spelling slips to review (more than %L1 pairs); narrow the list or untick Spelling slips.</source>
        <translation>Zu viele Tippfehler zum Prüfen (mehr als %L1 Paare); grenzen Sie die Liste ein oder wählen Sie „Tippfehler“ ab.</translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) name more than one address and were left as they are.</source>
        <translation>
            <numerusform>%n Eintrag nennt mehr als eine Adresse und blieb, wie er ist.</numerusform>
            <numerusform>%n Einträge nennen mehr als eine Adresse und blieben, wie sie sind.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1, keeping the spelling %n of them share: %2</source>
        <translation>
            <numerusform>%1, es bleibt die Schreibweise, die %n davon hat: %2</numerusform>
            <numerusform>%1, es bleibt die Schreibweise, die %n davon teilen: %2</numerusform>
        </translation>
    </message>
    <message>
        <source>The texts kept for undo would take more than 4 GB.</source>
        <translation>Die für das Rückgängigmachen aufbewahrten Texte belegten mehr als 4 GB.</translation>
    </message>
    <message>
        <source>The list would hold more than 4 GB of text (4,294,967,295 characters of Western European scripts, or half as many of others), more than it can hold.</source>
        <translation>Die Liste hielte mehr als 4 GB Text (4.294.967.295 Zeichen westeuropäischer Schriften oder halb so viele anderer) und damit mehr, als sie fassen kann.</translation>
    </message>
    <message>
        <source>The list cannot be kept for recovery: %1</source>
        <translation>Die Liste kann nicht für die Wiederherstellung aufbewahrt werden: %1</translation>
    </message>
    <message>
        <source>Tarnwell did not close normally, but the list it kept then is damaged and cannot be restored.</source>
        <translation>Tarnwell wurde nicht normal beendet, aber die dabei aufbewahrte Liste ist beschädigt und kann nicht wiederhergestellt werden.</translation>
    </message>
    <message>
        <source>Tarnwell did not close normally, but the list it kept then was written by another version of Tarnwell and cannot be read by this one. It is left in %1.</source>
        <translation>Tarnwell wurde nicht normal beendet, aber die dabei aufbewahrte Liste stammt von einer anderen Version von Tarnwell und kann von dieser nicht gelesen werden. Sie bleibt in %1.</translation>
    </message>
    <message>
        <source>Tarnwell did not close normally, but the list it kept then cannot be read: %1</source>
        <translation>Tarnwell wurde nicht normal beendet, aber die dabei aufbewahrte Liste kann nicht gelesen werden: %1</translation>
    </message>
    <message numerus="yes">
        <source>Tarnwell did not close normally. Restore the list from %1 (%Ln items, %2 checked)?</source>
        <translation>
            <numerusform>Tarnwell wurde nicht normal beendet. Die Liste von %1 wiederherstellen (%Ln Eintrag, %2 markiert)?</numerusform>
            <numerusform>Tarnwell wurde nicht normal beendet. Die Liste von %1 wiederherstellen (%Ln Einträge, %2 markiert)?</numerusform>
        </translation>
    </message>
    <message>
        <source>&amp;Restore</source>
        <translation>&amp;Wiederherstellen</translation>
    </message>
    <message>
        <source>&amp;Discard</source>
        <translation>&amp;Verwerfen</translation>
    </message>
    <message>
        <source>Restore List</source>
        <translation>Liste wiederherstellen</translation>
    </message>
    <message>
        <source>The address in angle brackets, or the one address in the item; domains without letter case. Items without an address are not grouped.</source>
        <translation>Die Adresse in spitzen Klammern oder die eine Adresse im Eintrag; Domains ohne Groß- und Kleinschreibung. Einträge ohne Adresse werden nicht gruppiert.</translation>
    </message>
    <message>
        <source>One column of each item read as a delimited line (&quot;Smith,John,bob@example.org&quot;); items with fewer columns are not grouped.</source>
        <translation>Eine Spalte jedes Eintrags, als getrennte Zeile gelesen („Smith,John,bob@example.org“); Einträge mit weniger Spalten werden nicht gruppiert.</translation>
    </message>
    <message numerus="yes">
        <source>%n file(s)</source>
        <translation>
            <numerusform>%n Datei</numerusform>
            <numerusform>%n Dateien</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) removed (listed in %1)</source>
        <translation>
            <numerusform>%n Eintrag entfernt (in %1 aufgeführt)</numerusform>
            <numerusform>%n Einträge entfernt (in %1 aufgeführt)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) removed (not listed in %1)</source>
        <translation>
            <numerusform>%n Eintrag entfernt (nicht in %1 aufgeführt)</numerusform>
            <numerusform>%n Einträge entfernt (nicht in %1 aufgeführt)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1; %n item(s) would be removed.</source>
        <translation>
            <numerusform>%1; %n Eintrag würde entfernt.</numerusform>
            <numerusform>%1; %n Einträge würden entfernt.</numerusform>
        </translation>
    </message>
    <message>
        <source>
Options of the window system (Qt):
  -platform &lt;name[:options]&gt;   The platform plugin: xcb (X11), wayland, offscreen, ...
  -platformpluginpath &lt;path&gt;   Where the platform plugins are.
  -platformtheme &lt;theme&gt;       The platform theme: gtk3, ...
  -plugin &lt;plugin&gt;             Another plugin to load; may be given several times.
  -qwindowgeometry &lt;geometry&gt;  The main window&apos;s geometry, as X11 writes it: 100x100+50+50.
  -qwindowicon &lt;icon&gt;          The windows&apos; icon.
  -qwindowtitle &lt;title&gt;        The first window&apos;s title.
  -reverse                     Lays the window out right to left.
  -session &lt;session&gt;           Restores the program from an earlier session.
  -style &lt;style&gt;               The widget style: Fusion, ...
  -stylesheet &lt;path&gt;           A style sheet for the whole program.
  -widgetcount                 Says at the end how many widgets were made.
  -display &lt;display&gt;           The X11 display, instead of $DISPLAY.
  -name &lt;name&gt;                 The instance name (ICCCM 4.1.2.1).
  -nograb, -dograb             Whether the mouse may be grabbed (X11).
  -visual &lt;id&gt;                 The X11 visual to use.
</source>
        <translation>
Optionen des Fenstersystems (Qt):
  -platform &lt;name[:options]&gt;   Das Plattform-Plugin: xcb (X11), wayland, offscreen, ...
  -platformpluginpath &lt;path&gt;   Wo die Plattform-Plugins liegen.
  -platformtheme &lt;theme&gt;       Das Plattform-Theme: gtk3, ...
  -plugin &lt;plugin&gt;             Ein weiteres Plugin; kann mehrmals angegeben werden.
  -qwindowgeometry &lt;geometry&gt;  Die Geometrie des Hauptfensters, wie X11 sie schreibt: 100x100+50+50.
  -qwindowicon &lt;icon&gt;          Das Symbol der Fenster.
  -qwindowtitle &lt;title&gt;        Der Titel des ersten Fensters.
  -reverse                     Ordnet das Fenster von rechts nach links an.
  -session &lt;session&gt;           Stellt das Programm aus einer früheren Sitzung wieder her.
  -style &lt;style&gt;               Der Stil der Bedienelemente: Fusion, ...
  -stylesheet &lt;path&gt;           Ein Style Sheet für das ganze Programm.
  -widgetcount                 Nennt am Ende die Zahl der erzeugten Widgets.
  -display &lt;display&gt;           Der X11-Bildschirm statt $DISPLAY.
  -name &lt;name&gt;                 Der Instanzname (ICCCM 4.1.2.1).
  -nograb, -dograb             Ob die Maus gefangen werden darf (X11).
  -visual &lt;id&gt;                 Das zu verwendende X11-Visual.
</translation>
    </message>
    <message>
        <source>No items are checked. Open a workbook without items?</source>
        <translation>Es sind keine Einträge markiert. Eine Arbeitsmappe ohne Einträge öffnen?</translation>
    </message>
    <message>
        <source>Excel Files (*.xl*)|*.xl*|Spreadsheets (*.ods *.fods *.xlsx *.xlsm *.xls *.csv)|*.ods;*.fods;*.xlsx;*.xlsm;*.xls;*.csv|All Files (*.*)|*.*|</source>
        <translation>Excel-Dateien (*.xl*)|*.xl*|Tabellendokumente (*.ods *.fods *.xlsx *.xlsm *.xls *.csv)|*.ods;*.fods;*.xlsx;*.xlsm;*.xls;*.csv|Alle Dateien (*.*)|*.*|</translation>
    </message>
    <message>
        <source>LibreOffice Calc closed before the items were written.</source>
        <translation>LibreOffice Calc wurde geschlossen, bevor die Einträge geschrieben waren.</translation>
    </message>
    <message>
        <source>LibreOffice Calc closed before the cells were read.</source>
        <translation>LibreOffice Calc wurde geschlossen, bevor die Zellen gelesen waren.</translation>
    </message>
    <message>
        <source>in %1 at line %2</source>
        <translation>in %1 in Zeile %2</translation>
    </message>
    <message>
        <source>Please email screenshot of this message to %1</source>
        <translation>Bitte senden Sie ein Bildschirmfoto dieser Meldung per E-Mail an %1</translation>
    </message>
    <message>
        <source>Opening %1 in Calc...</source>
        <translation>%1 wird in Calc geöffnet...</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is protected by a password, and it was not given.</source>
        <translation>„%1“ ist durch ein Kennwort geschützt, und es wurde keines eingegeben.</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederholen</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>Copy C&amp;hecked Items</source>
        <translation>A&amp;bgehakte Einträge kopieren</translation>
    </message>
    <message>
        <source>&amp;Paste Items</source>
        <translation>Einträge ein&amp;fügen</translation>
    </message>
    <message>
        <source>&amp;Find...</source>
        <translation>&amp;Suchen...</translation>
    </message>
    <message>
        <source>Find &amp;Next</source>
        <translation>Weitersuche&amp;n</translation>
    </message>
    <message>
        <source>Check &amp;All Items</source>
        <translation>&amp;Alle Einträge abhaken</translation>
    </message>
    <message>
        <source>Unchec&amp;k All Items</source>
        <translation>Alle Häkchen en&amp;tfernen</translation>
    </message>
    <message>
        <source>&amp;Invert Check Marks</source>
        <translation>Häkchen &amp;umkehren</translation>
    </message>
    <message>
        <source>Check Items &amp;With...</source>
        <translation>Einträge abhaken &amp;mit...</translation>
    </message>
    <message>
        <source>Check &amp;Selected Items</source>
        <translation>Aus&amp;gewählte Einträge abhaken</translation>
    </message>
    <message>
        <source>Uncheck Selecte&amp;d Items</source>
        <translation>&amp;Häkchen ausgewählter Einträge entfernen</translation>
    </message>
    <message>
        <source>S&amp;ort A to Z</source>
        <translation>S&amp;ortieren A bis Z</translation>
    </message>
    <message>
        <source>Sort &amp;Z to A</source>
        <translation>Sortieren &amp;Z bis A</translation>
    </message>
    <message>
        <source>Re&amp;verse Order</source>
        <translation>Reihenfo&amp;lge umkehren</translation>
    </message>
    <message>
        <source>Find N&amp;ear Duplicates...</source>
        <translation>Ähnli&amp;che Einträge suchen...</translation>
    </message>
    <message>
        <source>&amp;Lists in Files</source>
        <translation>Listen in &amp;Dateien</translation>
    </message>
    <message>
        <source>&amp;Remove Items Listed in File(s)...</source>
        <translation>In Datei(en) aufgeführte Einträge &amp;entfernen...</translation>
    </message>
    <message>
        <source>&amp;Keep Only Items Listed in File(s)...</source>
        <translation>Nur in Datei(en) aufgeführte Einträge &amp;behalten...</translation>
    </message>
    <message>
        <source>Remove Items Whose &amp;Address Is Listed in File(s)...</source>
        <translation>Einträge entfernen, deren &amp;Adresse in Datei(en) steht...</translation>
    </message>
    <message>
        <source>Keep &amp;Only Items Whose Address Is Listed in File(s)...</source>
        <translation>&amp;Nur Einträge behalten, deren Adresse in Datei(en) steht...</translation>
    </message>
    <message>
        <source>Save Re&amp;moved Items...</source>
        <translation>Entfernte Einträge s&amp;peichern...</translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation>%1 &amp;rückgängig machen</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>%1 &amp;wiederholen</translation>
    </message>
    <message>
        <source>&amp;Tidy</source>
        <translation>Aufräum&amp;en</translation>
    </message>
    <message>
        <source>&amp;Trim Blanks</source>
        <translation>&amp;Leerraum an den Enden entfernen</translation>
    </message>
    <message>
        <source>&amp;Collapse Inner Blanks</source>
        <translation>&amp;Inneren Leerraum zusammenfassen</translation>
    </message>
    <message>
        <source>Remove &amp;Invisible Characters</source>
        <translation>&amp;Unsichtbare Zeichen entfernen</translation>
    </message>
    <message>
        <source>Remove &amp;Empty Items</source>
        <translation>Leere &amp;Einträge entfernen</translation>
    </message>
    <message>
        <source>&amp;Lower Case</source>
        <translation>&amp;Kleinbuchstaben</translation>
    </message>
    <message>
        <source>&amp;Upper Case</source>
        <translation>&amp;Großbuchstaben</translation>
    </message>
    <message numerus="yes">
        <source>%1 item(s)</source>
        <translation>
            <numerusform>%1 Eintrag</numerusform>
            <numerusform>%1 Einträge</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1, %2 checked</source>
        <translation>
            <numerusform>%1, %2 abgehakt</numerusform>
            <numerusform>%1, %2 abgehakt</numerusform>
        </translation>
    </message>
    <message>
        <source>Delimiter:</source>
        <translation>Trennzeichen:</translation>
    </message>
    <message>
        <source>Opening %1 was cancelled: nothing was imported.</source>
        <translation>Das Öffnen von %1 wurde abgebrochen: nichts wurde importiert.</translation>
    </message>
    <message>
        <source>The password for %1 is wrong, so nothing was imported.</source>
        <translation>Das Kennwort für %1 ist falsch, daher wurde nichts importiert.</translation>
    </message>
    <message>
        <source>Press Esc to stop waiting for Calc; nothing will be imported.</source>
        <translation>Esc drücken, um nicht länger auf Calc zu warten; es wird nichts importiert.</translation>
    </message>
</context>
</TS>
