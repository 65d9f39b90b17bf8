<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>QCommandLineParser</name>
    <message>
        <source>Usage: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[options]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Options:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Arguments:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Displays help on commandline options.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Displays help including Qt specific options.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Displays version information.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unknown option &apos;%1&apos;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unknown options: %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Missing value after &apos;%1&apos;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unexpected value after &apos;%1&apos;.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Tarnwell</name>
    <message>
        <source>Check Mark</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check Marks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Compare:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Whole &amp;items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E-&amp;mail addresses</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Colum&amp;n</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Each item as it stands</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>comma</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>semicolon</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>tab</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delimiter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Column number</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) checked.</source>
        <translation>
            <numerusform>%n item checked.</numerusform>
            <numerusform>%n items checked.</numerusform>
        </translation>
    </message>
    <message>
        <source>Paste Items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check All Items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Uncheck All Items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invert Check Marks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check Selected Items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Uncheck Selected Items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sort A to Z</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sort Z to A</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reverse Order</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Undone: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Redone: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not found: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You forgot to load in List</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter string: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check Items With &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) copied.</source>
        <translation>
            <numerusform>%n item copied.</numerusform>
            <numerusform>%n items copied.</numerusform>
        </translation>
    </message>
    <message>
        <source>The program holding the clipboard did not answer.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The clipboard holds no text to paste.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Text Files (*.txt)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove Items Whose Address Is Listed in File(s)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove Items Listed in File(s)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep Only Items Whose Address Is Listed in File(s)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep Only Items Listed in File(s)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Removed Items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure you wish to overwrite %1 ?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Done.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sorted A to Z.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sorted Z to A.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Order reversed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find Near Duplicates</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove Near Duplicates</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The list changed, so its near duplicates were found again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n near duplicate(s) removed.</source>
        <translation>
            <numerusform>%n near duplicate removed.</numerusform>
            <numerusform>%n near duplicates removed.</numerusform>
        </translation>
    </message>
    <message>
        <source>Items that are alike once these differences are ignored:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Letter case</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;MÜLLER&quot; = &quot;müller&quot;, &quot;ß&quot; = &quot;ss&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>C&amp;ompatibility forms</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;ﬁ&quot; = &quot;fi&quot;, full-width = ASCII</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Blanks and invisible characters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>trimmed, collapsed, dropped</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Accents and other marks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;José&quot; = &quot;Jose&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Punctuation and symbols</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;o&apos;brien&quot; = &quot;obrien&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Word order</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;Smith, John&quot; = &quot;John Smith&quot; with punctuation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Spelling slips</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;jonh&quot; = &quot;john&quot;: a character added, left out, changed or two swapped; two such slips from 12 characters on; never under 5 characters, never in a number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Remove All but the Kept Item of Each Ticked Group</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No near duplicates found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n group(s)</source>
        <translation>
            <numerusform>%n group</numerusform>
            <numerusform>%n groups</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n item(s)</source>
        <translation>
            <numerusform>%n item</numerusform>
            <numerusform>%n items</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n items, keeping %1</source>
        <translation>
            <numerusform>%n items, keeping %1</numerusform>
            <numerusform>%n items, keeping %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n items, all kept, like %1</source>
        <translation>
            <numerusform>%n items, all kept, like %1</numerusform>
            <numerusform>%n items, all kept, like %1</numerusform>
        </translation>
    </message>
    <message>
        <source>Compared as %1; in brackets: its characters → the kept item&apos;s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>kept</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Groups and their items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Differs from the kept item</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Near-duplicate groups</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) changed.</source>
        <translation>
            <numerusform>%n item changed.</numerusform>
            <numerusform>%n items changed.</numerusform>
        </translation>
    </message>
    <message>
        <source>Trim Blanks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Collapse Inner Blanks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove Invisible Characters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove Empty Items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lower Case</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upper Case</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n empty item(s) removed.</source>
        <translation>
            <numerusform>%n empty item removed.</numerusform>
            <numerusform>%n empty items removed.</numerusform>
        </translation>
    </message>
    <message>
        <source>Keeps one list of text items and removes its duplicates.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Text files to load, one item per line.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[files...]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2
Try &apos;%1 --help&apos; for more information.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file name buffer is too small for the selected files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not open %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not write the settings file %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type mismatch</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 waits for %2 to finish.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Double-click item to remove it. Move | line to right and out of window to reveal full names.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Duplicate Options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Match case</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ignore case</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter New Item</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Progress</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Load List From Text File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save List To Text File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear All Items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove Items With...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove Items Without...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Load List From Excel File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove Selected Item</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save List To Excel File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Load Sample/Example List</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> (too large to keep for undo)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove Items With</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove Items Without</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Items:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot read the skin %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not a file: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid picture: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure you want to clear the list?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>List cleared.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Duplicate item found, not added.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unique item, added.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) added.</source>
        <translation>
            <numerusform>%n item added.</numerusform>
            <numerusform>%n items added.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) added</source>
        <translation>
            <numerusform>%n item added</numerusform>
            <numerusform>%n items added</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>, %n duplicate(s) not added.</source>
        <translation>
            <numerusform>, %n duplicate not added.</numerusform>
            <numerusform>, %n duplicates not added.</numerusform>
        </translation>
    </message>
    <message>
        <source>Remove Item</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You forgot to load in List 1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove Items With &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove Items Without &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Text Files (*.txt)|*.txt|All Files (*.*)|*.*|</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Load List(s) - Hold Ctrl to select multiple list files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You&apos;ve selected too many files to add.<byte value="xd"/><byte value="xd"/>Please load them in smaller groups.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1<byte value="xd"/><byte value="xd"/>This folder holds no files to load.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>Writing %1 item(s) to Calc...</source>
        <translation>
            <numerusform>Writing %1 item to Calc...</numerusform>
            <numerusform>Writing %1 items to Calc...</numerusform>
        </translation>
    </message>
    <message>
        <source>Starting LibreOffice Calc...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Object variable not set</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LibreOffice Calc is no longer running</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No workbook is open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&apos;%1&apos; could not be found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LibreOffice Calc cannot open &apos;%1&apos;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a workbook</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The workbook is no longer open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>an unsaved document</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No temporary folder for reading the sheet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LibreOffice Calc did not write the sheet&apos;s text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot read the sheet&apos;s text: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The list has more items than a sheet has rows</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You marked cells in &quot;%1&quot;. Please mark the block in &quot;%2&quot;, then press OK.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Excel is not installed on this computer. You need to have it installed to use this software without error.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Excel is not installed on this computer. You need to have it installed to use this feature.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You did not select a range. Please try again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The workbook was closed in Calc before a block was marked, so nothing was read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Highlight a block of cells with mouse</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mark a block of cells in Calc, then press OK.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LibreOffice Calc is not installed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LibreOffice could not be started: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Starting LibreOffice was given up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LibreOffice did not answer within %1 seconds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LibreOffice Calc reported a failure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LibreOffice Calc: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot save %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) hold(s) line breaks: read back from the file, each would be several items.<byte value="xd"/><byte value="xd"/>Save with the line breaks as blanks?</source>
        <translation>
            <numerusform>%n item holds line breaks: read back from the file, each would be several items.<byte value="xd"/><byte value="xd"/>Save with the line breaks as blanks?</numerusform>
            <numerusform>%n items hold line breaks: read back from the file, each would be several items.<byte value="xd"/><byte value="xd"/>Save with the line breaks as blanks?</numerusform>
        </translation>
    </message>
    <message>
        <source>Save with Blanks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Don&apos;t Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not saved.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot read %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot read: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a named pipe</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a socket</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a device</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not a file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1<byte value="xd"/><byte value="xd"/>This is %2, not a file; it was not loaded.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot open %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot read %1: it is a folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File not found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>List loaded. No duplicates found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>List loaded. </source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>List loaded. %n duplicates found, %n duplicates removed</source>
        <translation>
            <numerusform>List loaded. %n duplicates found, %n duplicates removed</numerusform>
            <numerusform>List loaded. %n duplicates found, %n duplicates removed</numerusform>
        </translation>
    </message>
    <message>
        <source>Application Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Out of memory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The near-duplicate groups changed before their removal&apos;s turn; nothing was removed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Finding near duplicates...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Canc&amp;el</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Removing near duplicates...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The search was cancelled: no groups shown. Change a box to search again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The search failed: no groups shown. Change a box to search again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Too many spelling slips to review (more than %L1 pairs); narrow the list or untick Spelling slips.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) name more than one address and were left as they are.</source>
        <translation>
            <numerusform>%n item names more than one address and was left as it is.</numerusform>
            <numerusform>%n items name more than one address and were left as they are.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1, keeping the spelling %n of them share: %2</source>
        <translation>
            <numerusform>%1, keeping the spelling %n of them has: %2</numerusform>
            <numerusform>%1, keeping the spelling %n of them share: %2</numerusform>
        </translation>
    </message>
    <message>
        <source>The texts kept for undo would take more than 4 GB.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The list would hold more than 4 GB of text (4,294,967,295 characters of Western European scripts, or half as many of others), more than it can hold.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The list cannot be kept for recovery: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tarnwell did not close normally, but the list it kept then is damaged and cannot be restored.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tarnwell did not close normally, but the list it kept then was written by another version of Tarnwell and cannot be read by this one. It is left in %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tarnwell did not close normally, but the list it kept then cannot be read: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>Tarnwell did not close normally. Restore the list from %1 (%Ln items, %2 checked)?</source>
        <translation>
            <numerusform>Tarnwell did not close normally. Restore the list from %1 (%Ln item, %2 checked)?</numerusform>
            <numerusform>Tarnwell did not close normally. Restore the list from %1 (%Ln items, %2 checked)?</numerusform>
        </translation>
    </message>
    <message>
        <source>&amp;Restore</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Discard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Restore List</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The address in angle brackets, or the one address in the item; domains without letter case. Items without an address are not grouped.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>One column of each item read as a delimited line (&quot;Smith,John,bob@example.org&quot;); items with fewer columns are not grouped.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n file(s)</source>
        <translation>
            <numerusform>%n file</numerusform>
            <numerusform>%n files</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) removed (listed in %1)</source>
        <translation>
            <numerusform>%n item removed (listed in %1)</numerusform>
            <numerusform>%n items removed (listed in %1)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) removed (not listed in %1)</source>
        <translation>
            <numerusform>%n item removed (not listed in %1)</numerusform>
            <numerusform>%n items removed (not listed in %1)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1; %n item(s) would be removed.</source>
        <translation>
            <numerusform>%1; %n item would be removed.</numerusform>
            <numerusform>%1; %n items would be removed.</numerusform>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No items are checked. Open a workbook without items?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Excel Files (*.xl*)|*.xl*|Spreadsheets (*.ods *.fods *.xlsx *.xlsm *.xls *.csv)|*.ods;*.fods;*.xlsx;*.xlsm;*.xls;*.csv|All Files (*.*)|*.*|</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LibreOffice Calc closed before the items were written.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LibreOffice Calc closed before the cells were read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>in %1 at line %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please email screenshot of this message to %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Opening %1 in Calc...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&apos;%1&apos; is protected by a password, and it was not given.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy C&amp;hecked Items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Paste Items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Find...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find &amp;Next</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check &amp;All Items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unchec&amp;k All Items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Invert Check Marks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check Items &amp;With...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check &amp;Selected Items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Uncheck Selecte&amp;d Items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>S&amp;ort A to Z</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sort &amp;Z to A</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Re&amp;verse Order</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find N&amp;ear Duplicates...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Lists in Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Remove Items Listed in File(s)...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Keep Only Items Listed in File(s)...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove Items Whose &amp;Address Is Listed in File(s)...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep &amp;Only Items Whose Address Is Listed in File(s)...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Re&amp;moved Items...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Tidy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Trim Blanks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Collapse Inner Blanks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove &amp;Invisible Characters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove &amp;Empty Items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Lower Case</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Upper Case</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%1 item(s)</source>
        <translation>
            <numerusform>%1 item</numerusform>
            <numerusform>%1 items</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1, %2 checked</source>
        <translation>
            <numerusform>%1, %2 checked</numerusform>
            <numerusform>%1, %2 checked</numerusform>
        </translation>
    </message>
    <message>
        <source>Delimiter:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Opening %1 was cancelled: nothing was imported.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The password for %1 is wrong, so nothing was imported.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Press Esc to stop waiting for Calc; nothing will be imported.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
