<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>QCommandLineParser</name>
    <message>
        <source>Usage: %1</source>
        <translation>Usage : %1</translation>
    </message>
    <message>
        <source>[options]</source>
        <translation>[options]</translation>
    </message>
    <message>
        <source>Options:</source>
        <translation>Options :</translation>
    </message>
    <message>
        <source>Arguments:</source>
        <translation>Arguments :</translation>
    </message>
    <message>
        <source>Displays help on commandline options.</source>
        <translation>Affiche l&apos;aide sur les options de la ligne de commande.</translation>
    </message>
    <message>
        <source>Displays help including Qt specific options.</source>
        <translation>Affiche l&apos;aide, options de Qt comprises.</translation>
    </message>
    <message>
        <source>Displays version information.</source>
        <translation>Affiche la version.</translation>
    </message>
    <message>
        <source>Unknown option &apos;%1&apos;.</source>
        <translation>Option inconnue « %1 ».</translation>
    </message>
    <message>
        <source>Unknown options: %1.</source>
        <translation>Options inconnues : %1.</translation>
    </message>
    <message>
        <source>Missing value after &apos;%1&apos;.</source>
        <translation>Valeur manquante après « %1 ».</translation>
    </message>
    <message>
        <source>Unexpected value after &apos;%1&apos;.</source>
        <translation>Valeur inattendue après « %1 ».</translation>
    </message>
</context>
<context>
    <name>Tarnwell</name>
    <message>
        <source>Check Mark</source>
        <translation>Coche</translation>
    </message>
    <message>
        <source>Check Marks</source>
        <translation>Coches</translation>
    </message>
    <message>
        <source>Change</source>
        <translation>Modification</translation>
    </message>
    <message>
        <source>Compare:</source>
        <translation>Comparer :</translation>
    </message>
    <message>
        <source>Whole &amp;items</source>
        <translation>Éléments &amp;entiers</translation>
    </message>
    <message>
        <source>E-&amp;mail addresses</source>
        <translation>Adresses e-&amp;mail</translation>
    </message>
    <message>
        <source>Colum&amp;n</source>
        <translation>Colo&amp;nne</translation>
    </message>
    <message>
        <source>Each item as it stands</source>
        <translation>Chaque élément tel quel</translation>
    </message>
    <message>
        <source>comma</source>
        <translation>virgule</translation>
    </message>
    <message>
        <source>semicolon</source>
        <translation>point-virgule</translation>
    </message>
    <message>
        <source>tab</source>
        <translation>tabulation</translation>
    </message>
    <message>
        <source>Delimiter</source>
        <translation>Séparateur</translation>
    </message>
    <message>
        <source>Column number</source>
        <translation>Numéro de colonne</translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) checked.</source>
        <translation>
            <numerusform>%n élément coché.</numerusform>
            <numerusform>%n éléments cochés.</numerusform>
        </translation>
    </message>
    <message>
        <source>Paste Items</source>
        <translation>Coller des éléments</translation>
    </message>
    <message>
        <source>Check All Items</source>
        <translation>Cocher tous les éléments</translation>
    </message>
    <message>
        <source>Uncheck All Items</source>
        <translation>Décocher tous les éléments</translation>
    </message>
    <message>
        <source>Invert Check Marks</source>
        <translation>Inverser les coches</translation>
    </message>
    <message>
        <source>Check Selected Items</source>
        <translation>Cocher les éléments sélectionnés</translation>
    </message>
    <message>
        <source>Uncheck Selected Items</source>
        <translation>Décocher les éléments sélectionnés</translation>
    </message>
    <message>
        <source>Sort A to Z</source>
        <translation>Trier de A à Z</translation>
    </message>
    <message>
        <source>Sort Z to A</source>
        <translation>Trier de Z à A</translation>
    </message>
    <message>
        <source>Reverse Order</source>
        <translation>Inverser l&apos;ordre</translation>
    </message>
    <message>
        <source>Undone: %1</source>
        <translation>Annulé : %1</translation>
    </message>
    <message>
        <source>Redone: %1</source>
        <translation>Rétabli : %1</translation>
    </message>
    <message>
        <source>Find: </source>
        <translation>Rechercher : </translation>
    </message>
    <message>
        <source>Not found: %1</source>
        <translation>Introuvable : %1</translation>
    </message>
    <message>
        <source>You forgot to load in List</source>
        <translation>Vous avez oublié de charger une liste</translation>
    </message>
    <message>
        <source>Enter string: </source>
        <translation>Saisissez un texte : </translation>
    </message>
    <message>
        <source>Check Items With &quot;%1&quot;</source>
        <translation>Cocher les éléments contenant « %1 »</translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) copied.</source>
        <translation>
            <numerusform>%n élément copié.</numerusform>
            <numerusform>%n éléments copiés.</numerusform>
        </translation>
    </message>
    <message>
        <source>The program holding the clipboard did not answer.</source>
        <translation>Le programme qui détient le presse-papiers n&apos;a pas répondu.</translation>
    </message>
    <message>
        <source>The clipboard holds no text to paste.</source>
        <translation>Le presse-papiers ne contient aucun texte à coller.</translation>
    </message>
    <message>
        <source>Text Files (*.txt)</source>
        <translation>Fichiers texte (*.txt)</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>Tous les fichiers (*)</translation>
    </message>
    <message>
        <source>Remove Items Whose Address Is Listed in File(s)</source>
        <translation>Supprimer les éléments dont l&apos;adresse est listée dans des fichiers</translation>
    </message>
    <message>
        <source>Remove Items Listed in File(s)</source>
        <translation>Supprimer les éléments listés dans des fichiers</translation>
    </message>
    <message>
        <source>Keep Only Items Whose Address Is Listed in File(s)</source>
        <translation>Ne garder que les éléments dont l&apos;adresse est listée dans des fichiers</translation>
    </message>
    <message>
        <source>Keep Only Items Listed in File(s)</source>
        <translation>Ne garder que les éléments listés dans des fichiers</translation>
    </message>
    <message>
        <source>Save Removed Items</source>
        <translation>Enregistrer les éléments supprimés</translation>
    </message>
    <message>
        <source>Are you sure you wish to overwrite %1 ?</source>
        <translation>Voulez-vous vraiment remplacer %1 ?</translation>
    </message>
    <message>
        <source>Done.</source>
        <translation>Terminé.</translation>
    </message>
    <message>
        <source>Sorted A to Z.</source>
        <translation>Trié de A à Z.</translation>
    </message>
    <message>
        <source>Sorted Z to A.</source>
        <translation>Trié de Z à A.</translation>
    </message>
    <message>
        <source>Order reversed.</source>
        <translation>Ordre inversé.</translation>
    </message>
    <message>
        <source>Find Near Duplicates</source>
        <translation>Rechercher les quasi-doublons</translation>
    </message>
    <message>
        <source>Remove Near Duplicates</source>
        <translation>Supprimer les quasi-doublons</translation>
    </message>
    <message>
        <source>The list changed, so its near duplicates were found again.</source>
        <translation>La liste a changé : ses quasi-doublons ont été recherchés de nouveau.</translation>
    </message>
    <message numerus="yes">
        <source>%n near duplicate(s) removed.</source>
        <translation>
            <numerusform>%n quasi-doublon supprimé.</numerusform>
            <numerusform>%n quasi-doublons supprimés.</numerusform>
        </translation>
    </message>
    <message>
        <source>Items that are alike once these differences are ignored:</source>
        <translation>Éléments identiques une fois ces différences ignorées :</translation>
    </message>
    <message>
        <source>&amp;Letter case</source>
        <translation>&amp;Casse</translation>
    </message>
    <message>
        <source>&quot;MÜLLER&quot; = &quot;müller&quot;, &quot;ß&quot; = &quot;ss&quot;</source>
        <translation>« MÜLLER » = « müller », « ß » = « ss »</translation>
    </message>
    <message>
        <source>C&amp;ompatibility forms</source>
        <translation>Formes de c&amp;ompatibilité</translation>
    </message>
    <message>
        <source>&quot;ﬁ&quot; = &quot;fi&quot;, full-width = ASCII</source>
        <translation>« ﬁ » = « fi », pleine chasse = ASCII</translation>
    </message>
    <message>
        <source>&amp;Blanks and invisible characters</source>
        <translation>Es&amp;paces et caractères invisibles</translation>
    </message>
    <message>
        <source>trimmed, collapsed, dropped</source>
        <translation>rognés, regroupés, supprimés</translation>
    </message>
    <message>
        <source>&amp;Accents and other marks</source>
        <translation>&amp;Accents et autres signes</translation>
    </message>
    <message>
        <source>&quot;José&quot; = &quot;Jose&quot;</source>
        <translation>« José » = « Jose »</translation>
    </message>
    <message>
        <source>&amp;Punctuation and symbols</source>
        <translation>Ponct&amp;uation et symboles</translation>
    </message>
    <message>
        <source>&quot;o&apos;brien&quot; = &quot;obrien&quot;</source>
        <translation>« o&apos;brien » = « obrien »</translation>
    </message>
    <message>
        <source>&amp;Word order</source>
        <translation>Ordre des mo&amp;ts</translation>
    </message>
    <message>
        <source>&quot;Smith, John&quot; = &quot;John Smith&quot; with punctuation</source>
        <translation>« Smith, John » = « John Smith » avec la ponctuation</translation>
    </message>
    <message>
        <source>&amp;Spelling slips</source>
        <translation>Fautes de &amp;frappe</translation>
    </message>
    <message>
        <source>&quot;jonh&quot; = &quot;john&quot;: a character added, left out, changed or two swapped; two such slips from 12 characters on; never under 5 characters, never in a number</source>
        <translation>« jonh » = « john » : un caractère ajouté, omis, changé ou deux intervertis ; deux fautes à partir de 12 caractères ; jamais sous 5 caractères, jamais dans un nombre</translation>
    </message>
    <message>
        <source>&amp;Remove All but the Kept Item of Each Ticked Group</source>
        <translation>&amp;Supprimer tout sauf l&apos;élément conservé de chaque groupe coché</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>Fe&amp;rmer</translation>
    </message>
    <message>
        <source>No near duplicates found.</source>
        <translation>Aucun quasi-doublon trouvé.</translation>
    </message>
    <message numerus="yes">
        <source>%n group(s)</source>
        <translation>
            <numerusform>%n groupe</numerusform>
            <numerusform>%n groupes</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n item(s)</source>
        <translation>
            <numerusform>%n élément</numerusform>
            <numerusform>%n éléments</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n items, keeping %1</source>
        <translation>
            <numerusform>%n élément, %1 conservé</numerusform>
            <numerusform>%n éléments, %1 conservé</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n items, all kept, like %1</source>
        <translation>
            <numerusform>%n élément, tous conservés, comme %1</numerusform>
            <numerusform>%n éléments, tous conservés, comme %1</numerusform>
        </translation>
    </message>
    <message>
        <source>Compared as %1; in brackets: its characters → the kept item&apos;s</source>
        <translation>Comparé comme %1 ; entre crochets : ses caractères → ceux de l&apos;élément conservé</translation>
    </message>
    <message>
        <source>kept</source>
        <translation>conservé</translation>
    </message>
    <message>
        <source>Groups and their items</source>
        <translation>Groupes et leurs éléments</translation>
    </message>
    <message>
        <source>Keep</source>
        <translation>Garder</translation>
    </message>
    <message>
        <source>Differs from the kept item</source>
        <translation>Diffère de l&apos;élément conservé</translation>
    </message>
    <message>
        <source>Near-duplicate groups</source>
        <translation>Groupes de quasi-doublons</translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) changed.</source>
        <translation>
            <numerusform>%n élément modifié.</numerusform>
            <numerusform>%n éléments modifiés.</numerusform>
        </translation>
    </message>
    <message>
        <source>Trim Blanks</source>
        <translation>Rogner les espaces</translation>
    </message>
    <message>
        <source>Collapse Inner Blanks</source>
        <translation>Regrouper les espaces intérieurs</translation>
    </message>
    <message>
        <source>Remove Invisible Characters</source>
        <translation>Supprimer les caractères invisibles</translation>
    </message>
    <message>
        <source>Remove Empty Items</source>
        <translation>Supprimer les éléments vides</translation>
    </message>
    <message>
        <source>Lower Case</source>
        <translation>Minuscules</translation>
    </message>
    <message>
        <source>Upper Case</source>
        <translation>Majuscules</translation>
    </message>
    <message numerus="yes">
        <source>%n empty item(s) removed.</source>
        <translation>
            <numerusform>%n élément vide supprimé.</numerusform>
            <numerusform>%n éléments vides supprimés.</numerusform>
        </translation>
    </message>
    <message>
        <source>Keeps one list of text items and removes its duplicates.</source>
        <translation>Tient une liste d&apos;éléments de texte et en supprime les doublons.</translation>
    </message>
    <message>
        <source>files</source>
        <translation>fichiers</translation>
    </message>
    <message>
        <source>Text files to load, one item per line.</source>
        <translation>Fichiers texte à charger, un élément par ligne.</translation>
    </message>
    <message>
        <source>[files...]</source>
        <translation>[fichiers...]</translation>
    </message>
    <message>
        <source>%1: %2
Try &apos;%1 --help&apos; for more information.
</source>
        <translation>%1 : %2
Essayez « %1 --help » pour plus d&apos;informations.
</translation>
    </message>
    <message>
        <source>The file name buffer is too small for the selected files</source>
        <translation>La mémoire des noms de fichiers est trop petite pour les fichiers choisis</translation>
    </message>
    <message>
        <source>Could not open %1</source>
        <translation>Impossible d&apos;ouvrir %1</translation>
    </message>
    <message>
        <source>Could not write the settings file %1</source>
        <translation>Impossible d&apos;écrire le fichier de réglages %1</translation>
    </message>
    <message>
        <source>Type mismatch</source>
        <translation>Incompatibilité de type</translation>
    </message>
    <message>
        <source>%1 waits for %2 to finish.</source>
        <translation>%1 attend la fin de %2.</translation>
    </message>
    <message>
        <source>Double-click item to remove it. Move | line to right and out of window to reveal full names.</source>
        <translation>Double-cliquez sur un élément pour le supprimer. Déplacez la ligne | vers la droite, hors de la fenêtre, pour voir les noms entiers.</translation>
    </message>
    <message>
        <source>Items</source>
        <translation>Éléments</translation>
    </message>
    <message>
        <source>Duplicate Options</source>
        <translation>Options des doublons</translation>
    </message>
    <message>
        <source>Match case</source>
        <translation>Respecter la casse</translation>
    </message>
    <message>
        <source>Ignore case</source>
        <translation>Ignorer la casse</translation>
    </message>
    <message>
        <source>Enter New Item</source>
        <translation>Saisir un nouvel élément</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Progression</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>État</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Ajouter</translation>
    </message>
    <message>
        <source>Load List From Text File</source>
        <translation>Charger un fichier texte</translation>
    </message>
    <message>
        <source>Save List To Text File</source>
        <translation>Enregistrer en fichier texte</translation>
    </message>
    <message>
        <source>Clear All Items</source>
        <translation>Effacer tous les éléments</translation>
    </message>
    <message>
        <source>Remove Items With...</source>
        <translation>Supprimer les éléments avec...</translation>
    </message>
    <message>
        <source>Remove Items Without...</source>
        <translation>Supprimer les éléments sans...</translation>
    </message>
    <message>
        <source>Load List From Excel File</source>
        <translation>Charger un fichier Excel</translation>
    </message>
    <message>
        <source>Remove Selected Item</source>
        <translation>Supprimer l&apos;élément sélectionné</translation>
    </message>
    <message>
        <source>Save List To Excel File</source>
        <translation>Enregistrer en fichier Excel</translation>
    </message>
    <message>
        <source>Load Sample/Example List</source>
        <translation>Charger la liste d&apos;exemple</translation>
    </message>
    <message>
        <source> (too large to keep for undo)</source>
        <translation> (trop grand pour être annulé)</translation>
    </message>
    <message>
        <source>Remove Items With</source>
        <translation>Supprimer les éléments contenant</translation>
    </message>
    <message>
        <source>Remove Items Without</source>
        <translation>Supprimer les éléments sans</translation>
    </message>
    <message>
        <source>Items:</source>
        <translation>Éléments :</translation>
    </message>
    <message>
        <source>Cannot read the skin %1: %2</source>
        <translation>Impossible de lire l&apos;habillage %1 : %2</translation>
    </message>
    <message>
        <source>Not a file: %1</source>
        <translation>Ce n&apos;est pas un fichier : %1</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>Impossible de lire %1 : %2</translation>
    </message>
    <message>
        <source>Invalid picture: %1</source>
        <translation>Image non valide : %1</translation>
    </message>
    <message>
        <source>Are you sure you want to clear the list?</source>
        <translation>Voulez-vous vraiment vider la liste ?</translation>
    </message>
    <message>
        <source>List cleared.</source>
        <translation>Liste vidée.</translation>
    </message>
    <message>
        <source>Duplicate item found, not added.</source>
        <translation>Élément en double trouvé, non ajouté.</translation>
    </message>
    <message>
        <source>Unique item, added.</source>
        <translation>Élément unique, ajouté.</translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) added.</source>
        <translation>
            <numerusform>%n élément ajouté.</numerusform>
            <numerusform>%n éléments ajoutés.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) added</source>
        <translation>
            <numerusform>%n élément ajouté</numerusform>
            <numerusform>%n éléments ajoutés</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>, %n duplicate(s) not added.</source>
        <translation>
            <numerusform>, %n doublon non ajouté.</numerusform>
            <numerusform>, %n doublons non ajoutés.</numerusform>
        </translation>
    </message>
    <message>
        <source>Remove Item</source>
        <translation>Supprimer l&apos;élément</translation>
    </message>
    <message>
        <source>You forgot to load in List 1.</source>
        <translation>Vous avez oublié de charger la liste 1.</translation>
    </message>
    <message>
        <source>Remove Items With &quot;%1&quot;</source>
        <translation>Supprimer les éléments contenant « %1 »</translation>
    </message>
    <message>
        <source>Remove Items Without &quot;%1&quot;</source>
        <translation>Supprimer les éléments sans « %1 »</translation>
    </message>
    <message>
        <source>Text Files (*.txt)|*.txt|All Files (*.*)|*.*|</source>
        <translation>Fichiers texte (*.txt)|*.txt|Tous les fichiers (*.*)|*.*|</translation>
    </message>
    <message>
        <source>Load List(s) - Hold Ctrl to select multiple list files</source>
        <translation>Charger des listes – maintenez Ctrl pour choisir plusieurs fichiers</translation>
    </message>
    <message>
        <source>You&apos;ve selected too many files to add.<byte value="xd"/><byte value="xd"/>Please load them in smaller groups.</source>
        <translation>Vous avez sélectionné trop de fichiers à ajouter.<byte value="xd"/><byte value="xd"/>Chargez-les par petits groupes.</translation>
    </message>
    <message>
        <source>%1<byte value="xd"/><byte value="xd"/>This folder holds no files to load.</source>
        <translation>%1<byte value="xd"/><byte value="xd"/>Ce dossier ne contient aucun fichier à charger.</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Enregistrer</translation>
    </message>
    <message numerus="yes">
        <source>Writing %1 item(s) to Calc...</source>
        <translation>
            <numerusform>Écriture de %1 élément dans Calc...</numerusform>
            <numerusform>Écriture de %1 éléments dans Calc...</numerusform>
        </translation>
    </message>
    <message>
        <source>Starting LibreOffice Calc...</source>
        <translation>Démarrage de LibreOffice Calc...</translation>
    </message>
    <message>
        <source>Add File</source>
        <translation>Ajouter un fichier</translation>
    </message>
    <message>
        <source>Object variable not set</source>
        <translation>Variable objet non définie</translation>
    </message>
    <message>
        <source>LibreOffice Calc is no longer running</source>
        <translation>LibreOffice Calc n&apos;est plus lancé</translation>
    </message>
    <message>
        <source>No workbook is open</source>
        <translation>Aucun classeur n&apos;est ouvert</translation>
    </message>
    <message>
        <source>&apos;%1&apos; could not be found</source>
        <translation>« %1 » est introuvable</translation>
    </message>
    <message>
        <source>LibreOffice Calc cannot open &apos;%1&apos;</source>
        <translation>LibreOffice Calc ne peut pas ouvrir « %1 »</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a workbook</source>
        <translation>« %1 » n&apos;est pas un classeur</translation>
    </message>
    <message>
        <source>The workbook is no longer open</source>
        <translation>Le classeur n&apos;est plus ouvert</translation>
    </message>
    <message>
        <source>an unsaved document</source>
        <translation>un document non enregistré</translation>
    </message>
    <message>
        <source>No temporary folder for reading the sheet</source>
        <translation>Aucun dossier temporaire pour lire la feuille</translation>
    </message>
    <message>
        <source>LibreOffice Calc did not write the sheet&apos;s text</source>
        <translation>LibreOffice Calc n&apos;a pas écrit le texte de la feuille</translation>
    </message>
    <message>
        <source>Cannot read the sheet&apos;s text: %1</source>
        <translation>Impossible de lire le texte de la feuille : %1</translation>
    </message>
    <message>
        <source>The list has more items than a sheet has rows</source>
        <translation>La liste a plus d&apos;éléments qu&apos;une feuille n&apos;a de lignes</translation>
    </message>
    <message>
        <source>You marked cells in &quot;%1&quot;. Please mark the block in &quot;%2&quot;, then press OK.</source>
        <translation>Vous avez sélectionné des cellules dans « %1 ». Sélectionnez le bloc dans « %2 », puis appuyez sur OK.</translation>
    </message>
    <message>
        <source>Excel is not installed on this computer. You need to have it installed to use this software without error.</source>
        <translation>Excel n&apos;est pas installé sur cet ordinateur. Il doit être installé pour utiliser ce logiciel sans erreur.</translation>
    </message>
    <message>
        <source>Excel is not installed on this computer. You need to have it installed to use this feature.</source>
        <translation>Excel n&apos;est pas installé sur cet ordinateur. Il doit être installé pour utiliser cette fonction.</translation>
    </message>
    <message>
        <source>You did not select a range. Please try again.</source>
        <translation>Vous n&apos;avez pas sélectionné de plage. Veuillez réessayer.</translation>
    </message>
    <message>
        <source>The workbook was closed in Calc before a block was marked, so nothing was read.</source>
        <translation>Le classeur a été fermé dans Calc avant qu&apos;un bloc soit sélectionné : rien n&apos;a été lu.</translation>
    </message>
    <message>
        <source>Highlight a block of cells with mouse</source>
        <translation>Sélectionnez un bloc de cellules à la souris</translation>
    </message>
    <message>
        <source>Mark a block of cells in Calc, then press OK.</source>
        <translation>Sélectionnez un bloc de cellules dans Calc, puis appuyez sur OK.</translation>
    </message>
    <message>
        <source>LibreOffice Calc is not installed</source>
        <translation>LibreOffice Calc n&apos;est pas installé</translation>
    </message>
    <message>
        <source>LibreOffice could not be started: %1</source>
        <translation>Impossible de démarrer LibreOffice : %1</translation>
    </message>
    <message>
        <source>Starting LibreOffice was given up</source>
        <translation>Le démarrage de LibreOffice a été abandonné</translation>
    </message>
    <message>
        <source>LibreOffice did not answer within %1 seconds</source>
        <translation>LibreOffice n&apos;a pas répondu dans les %1 secondes</translation>
    </message>
    <message>
        <source>LibreOffice Calc reported a failure</source>
        <translation>LibreOffice Calc a signalé un échec</translation>
    </message>
    <message>
        <source>LibreOffice Calc: %1</source>
        <translation>LibreOffice Calc : %1</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>Impossible d&apos;écrire %1 : %2</translation>
    </message>
    <message>
        <source>Cannot save %1: %2</source>
        <translation>Impossible d&apos;enregistrer %1 : %2</translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) hold(s) line breaks: read back from the file, each would be several items.<byte value="xd"/><byte value="xd"/>Save with the line breaks as blanks?</source>
        <translation>
            <numerusform>%n élément contient des sauts de ligne : relu depuis le fichier, il donnerait plusieurs éléments.<byte value="xd"/><byte value="xd"/>Enregistrer avec les sauts de ligne remplacés par des espaces ?</numerusform>
            <numerusform>%n éléments contiennent des sauts de ligne : relus depuis le fichier, chacun donnerait plusieurs éléments.<byte value="xd"/><byte value="xd"/>Enregistrer avec les sauts de ligne remplacés par des espaces ?</numerusform>
        </translation>
    </message>
    <message>
        <source>Save with Blanks</source>
        <translation>Enregistrer avec des espaces</translation>
    </message>
    <message>
        <source>Don&apos;t Save</source>
        <translation>Ne pas enregistrer</translation>
    </message>
    <message>
        <source>Not saved.</source>
        <translation>Non enregistré.</translation>
    </message>
    <message>
        <source>Cannot read %1</source>
        <translation>Impossible de lire %1</translation>
    </message>
    <message>
        <source>Cannot read: %1</source>
        <translation>Lecture impossible : %1</translation>
    </message>
    <message>
        <source>a named pipe</source>
        <translation>un tube nommé</translation>
    </message>
    <message>
        <source>a socket</source>
        <translation>un socket</translation>
    </message>
    <message>
        <source>a device</source>
        <translation>un périphérique</translation>
    </message>
    <message>
        <source>not a file</source>
        <translation>pas un fichier</translation>
    </message>
    <message>
        <source>%1<byte value="xd"/><byte value="xd"/>This is %2, not a file; it was not loaded.</source>
        <translation>%1<byte value="xd"/><byte value="xd"/>Ceci est %2, pas un fichier ; il n&apos;a pas été chargé.</translation>
    </message>
    <message>
        <source>Cannot open %1: %2</source>
        <translation>Impossible d&apos;ouvrir %1 : %2</translation>
    </message>
    <message>
        <source>Cannot read %1: it is a folder</source>
        <translation>Impossible de lire %1 : c&apos;est un dossier</translation>
    </message>
    <message>
        <source>File not found</source>
        <translation>Fichier introuvable</translation>
    </message>
    <message>
        <source>List loaded. No duplicates found.</source>
        <translation>Liste chargée. Aucun doublon trouvé.</translation>
    </message>
    <message>
        <source>List loaded. </source>
        <translation>Liste chargée. </translation>
    </message>
    <message numerus="yes">
        <source>List loaded. %n duplicates found, %n duplicates removed</source>
        <translation>
            <numerusform>Liste chargée. %n doublon trouvé, %n doublon supprimé</numerusform>
            <numerusform>Liste chargée. %n doublons trouvés, %n doublons supprimés</numerusform>
        </translation>
    </message>
    <message>
        <source>Application Error</source>
        <translation>Erreur de l&apos;application</translation>
    </message>
    <message>
        <source>Out of memory</source>
        <translation>Mémoire insuffisante</translation>
    </message>
    <message>
        <source>The near-duplicate groups changed before their removal&apos;s turn; nothing was removed.</source>
        <translation>Les groupes de quasi-doublons ont changé avant le tour de leur suppression ; rien n&apos;a été supprimé.</translation>
    </message>
    <message>
        <source>Finding near duplicates...</source>
        <translation>Recherche des quasi-doublons...</translation>
    </message>
    <message>
        <source>Canc&amp;el</source>
        <translation>Annu&amp;ler</translation>
    </message>
    <message>
        <source>Removing near duplicates...</source>
        <translation>Suppression des quasi-doublons...</translation>
    </message>
    <message>
        <source>The search was cancelled: no groups shown. Change a box to search again.</source>
        <translation>Recherche annulée : aucun groupe affiché. Modifiez une case pour relancer la recherche.</translation>
    </message>
    <message>
        <source>The search failed: no groups shown. Change a box to search again.</source>
        <translation>La recherche a échoué : aucun groupe affiché. Modifiez une case pour relancer la recherche.</translation>
    </message>
    <message>
        <source>Too many spelling slips to review (more than %L1 pairs); narrow the list or untick Spelling slips.</source>
        <translation>Trop de fautes de frappe à examiner (plus de %L1 paires) ; réduisez la liste ou décochez Fautes de frappe.</translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) name more than one address and were left as they are.</source>
        <translation>
            <numerusform>%n élément nomme plus d&apos;une adresse et a été laissé tel quel.</numerusform>
            <numerusform>%n éléments nomment plus d&apos;une adresse et ont été laissés tels quels.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1, keeping the spelling %n of them share: %2</source>
        <translation>
            <numerusform>%1, conservant l&apos;orthographe que %n d&apos;entre eux a : %2</numerusform>
            <numerusform>%1, conservant l&apos;orthographe que %n d&apos;entre eux partagent : %2</numerusform>
        </translation>
    </message>
    <message>
        <source>The texts kept for undo would take more than 4 GB.</source>
        <translation>Les textes conservés pour l&apos;annulation occuperaient plus de 4 Go.</translation>
    </message>
    <message>
        <source>The list would hold more than 4 GB of text (4,294,967,295 characters of Western European scripts, or half as many of others), more than it can hold.</source>
        <translation>La liste contiendrait plus de 4 Go de texte (4&#x202f;294&#x202f;967&#x202f;295 caractères des écritures d&apos;Europe occidentale, ou moitié moins des autres), plus qu&apos;elle ne peut en contenir.</translation>
    </message>
    <message>
        <source>The list cannot be kept for recovery: %1</source>
        <translation>La liste ne peut pas être conservée pour la récupération : %1</translation>
    </message>
    <message>
        <source>Tarnwell did not close normally, but the list it kept then is damaged and cannot be restored.</source>
        <translation>Tarnwell ne s&apos;est pas fermé normalement, mais la liste conservée alors est endommagée et ne peut pas être restaurée.</translation>
    </message>
    <message>
        <source>Tarnwell did not close normally, but the list it kept then was written by another version of Tarnwell and cannot be read by this one. It is left in %1.</source>
        <translation>Tarnwell ne s&apos;est pas fermé normalement, mais la liste conservée alors a été écrite par une autre version de Tarnwell et celle-ci ne peut pas la lire. Elle reste dans %1.</translation>
    </message>
    <message>
        <source>Tarnwell did not close normally, but the list it kept then cannot be read: %1</source>
        <translation>Tarnwell ne s&apos;est pas fermé normalement, mais la liste conservée alors ne peut pas être lue : %1</translation>
    </message>
    <message numerus="yes">
        <source>Tarnwell did not close normally. Restore the list from %1 (%Ln items, %2 checked)?</source>
        <translation>
            <numerusform>Tarnwell ne s&apos;est pas fermé normalement. Restaurer la liste de %1 (%Ln élément, cochés : %2) ?</numerusform>
            <numerusform>Tarnwell ne s&apos;est pas fermé normalement. Restaurer la liste de %1 (%Ln éléments, cochés : %2) ?</numerusform>
        </translation>
    </message>
    <message>
        <source>&amp;Restore</source>
        <translation>&amp;Restaurer</translation>
    </message>
    <message>
        <source>&amp;Discard</source>
        <translation>&amp;Abandonner</translation>
    </message>
    <message>
        <source>Restore List</source>
        <translation>Restaurer la liste</translation>
    </message>
    <message>
        <source>The address in angle brackets, or the one address in the item; domains without letter case. Items without an address are not grouped.</source>
        <translation>L&apos;adresse entre chevrons, ou l&apos;unique adresse de l&apos;élément ; domaines sans distinction de casse. Les éléments sans adresse ne sont pas regroupés.</translation>
    </message>
    <message>
        <source>One column of each item read as a delimited line (&quot;Smith,John,bob@example.org&quot;); items with fewer columns are not grouped.</source>
        <translation>Une colonne de chaque élément, lu comme une ligne délimitée (« Smith,John,bob@example.org ») ; les éléments ayant moins de colonnes ne sont pas regroupés.</translation>
    </message>
    <message numerus="yes">
        <source>%n file(s)</source>
        <translation>
            <numerusform>%n fichier</numerusform>
            <numerusform>%n fichiers</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) removed (listed in %1)</source>
        <translation>
            <numerusform>%n élément supprimé (listé dans %1)</numerusform>
            <numerusform>%n éléments supprimés (listés dans %1)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) removed (not listed in %1)</source>
        <translation>
            <numerusform>%n élément supprimé (non listé dans %1)</numerusform>
            <numerusform>%n éléments supprimés (non listés dans %1)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1; %n item(s) would be removed.</source>
        <translation>
            <numerusform>%1 ; %n élément serait supprimé.</numerusform>
            <numerusform>%1 ; %n éléments seraient supprimés.</numerusform>
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
Options du système de fenêtres (Qt) :
  -platform &lt;name[:options]&gt;   Le module de plateforme : xcb (X11), wayland, offscreen, ...
  -platformpluginpath &lt;path&gt;   Où se trouvent les modules de plateforme.
  -platformtheme &lt;theme&gt;       Le thème de plateforme : gtk3, ...
  -plugin &lt;plugin&gt;             Un autre module à charger ; peut être donné plusieurs fois.
  -qwindowgeometry &lt;geometry&gt;  La géométrie de la fenêtre principale, écrite comme sous X11 : 100x100+50+50.
  -qwindowicon &lt;icon&gt;          L&apos;icône des fenêtres.
  -qwindowtitle &lt;title&gt;        Le titre de la première fenêtre.
  -reverse                     Dispose la fenêtre de droite à gauche.
  -session &lt;session&gt;           Restaure le programme d&apos;une session antérieure.
  -style &lt;style&gt;               Le style des contrôles : Fusion, ...
  -stylesheet &lt;path&gt;           Une feuille de style pour tout le programme.
  -widgetcount                 Indique à la fin combien de contrôles ont été créés.
  -display &lt;display&gt;           L&apos;écran X11, au lieu de $DISPLAY.
  -name &lt;name&gt;                 Le nom d&apos;instance (ICCCM 4.1.2.1).
  -nograb, -dograb             Si la souris peut être capturée (X11).
  -visual &lt;id&gt;                 Le visuel X11 à utiliser.
</translation>
    </message>
    <message>
        <source>No items are checked. Open a workbook without items?</source>
        <translation>Aucun élément n&apos;est coché. Ouvrir un classeur sans éléments ?</translation>
    </message>
    <message>
        <source>Excel Files (*.xl*)|*.xl*|Spreadsheets (*.ods *.fods *.xlsx *.xlsm *.xls *.csv)|*.ods;*.fods;*.xlsx;*.xlsm;*.xls;*.csv|All Files (*.*)|*.*|</source>
        <translation>Fichiers Excel (*.xl*)|*.xl*|Classeurs (*.ods *.fods *.xlsx *.xlsm *.xls *.csv)|*.ods;*.fods;*.xlsx;*.xlsm;*.xls;*.csv|Tous les fichiers (*.*)|*.*|</translation>
    </message>
    <message>
        <source>LibreOffice Calc closed before the items were written.</source>
        <translation>LibreOffice Calc a été fermé avant que les éléments soient écrits.</translation>
    </message>
    <message>
        <source>LibreOffice Calc closed before the cells were read.</source>
        <translation>LibreOffice Calc a été fermé avant que les cellules soient lues.</translation>
    </message>
    <message>
        <source>in %1 at line %2</source>
        <translation>dans %1 à la ligne %2</translation>
    </message>
    <message>
        <source>Please email screenshot of this message to %1</source>
        <translation>Veuillez envoyer une capture d&apos;écran de ce message par e-mail à %1</translation>
    </message>
    <message>
        <source>Opening %1 in Calc...</source>
        <translation>Ouverture de %1 dans Calc...</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is protected by a password, and it was not given.</source>
        <translation>« %1 » est protégé par un mot de passe, et aucun n&apos;a été saisi.</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Annuler</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Rétablir</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Copier</translation>
    </message>
    <message>
        <source>Copy C&amp;hecked Items</source>
        <translation>Co&amp;pier les éléments cochés</translation>
    </message>
    <message>
        <source>&amp;Paste Items</source>
        <translation>Co&amp;ller des éléments</translation>
    </message>
    <message>
        <source>&amp;Find...</source>
        <translation>R&amp;echercher...</translation>
    </message>
    <message>
        <source>Find &amp;Next</source>
        <translation>Rechercher le &amp;suivant</translation>
    </message>
    <message>
        <source>Check &amp;All Items</source>
        <translation>Cocher to&amp;us les éléments</translation>
    </message>
    <message>
        <source>Unchec&amp;k All Items</source>
        <translation>&amp;Décocher tous les éléments</translation>
    </message>
    <message>
        <source>&amp;Invert Check Marks</source>
        <translation>&amp;Inverser les coches</translation>
    </message>
    <message>
        <source>Check Items &amp;With...</source>
        <translation>Cocher les élé&amp;ments contenant...</translation>
    </message>
    <message>
        <source>Check &amp;Selected Items</source>
        <translation>Coc&amp;her les éléments sélectionnés</translation>
    </message>
    <message>
        <source>Uncheck Selecte&amp;d Items</source>
        <translation>Déc&amp;ocher les éléments sélectionnés</translation>
    </message>
    <message>
        <source>S&amp;ort A to Z</source>
        <translation>&amp;Trier de A à Z</translation>
    </message>
    <message>
        <source>Sort &amp;Z to A</source>
        <translation>Trier de &amp;Z à A</translation>
    </message>
    <message>
        <source>Re&amp;verse Order</source>
        <translation>In&amp;verser l&apos;ordre</translation>
    </message>
    <message>
        <source>Find N&amp;ear Duplicates...</source>
        <translation>Rechercher les &amp;quasi-doublons...</translation>
    </message>
    <message>
        <source>&amp;Lists in Files</source>
        <translation>Listes dans des &amp;fichiers</translation>
    </message>
    <message>
        <source>&amp;Remove Items Listed in File(s)...</source>
        <translation>&amp;Supprimer les éléments listés dans des fichiers...</translation>
    </message>
    <message>
        <source>&amp;Keep Only Items Listed in File(s)...</source>
        <translation>Ne &amp;garder que les éléments listés dans des fichiers...</translation>
    </message>
    <message>
        <source>Remove Items Whose &amp;Address Is Listed in File(s)...</source>
        <translation>Supprimer les éléments dont l&apos;&amp;adresse est listée dans des fichiers...</translation>
    </message>
    <message>
        <source>Keep &amp;Only Items Whose Address Is Listed in File(s)...</source>
        <translation>Ne garder que les éléments &amp;dont l&apos;adresse est listée dans des fichiers...</translation>
    </message>
    <message>
        <source>Save Re&amp;moved Items...</source>
        <translation>Enre&amp;gistrer les éléments supprimés...</translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation>&amp;Annuler : %1</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>&amp;Rétablir : %1</translation>
    </message>
    <message>
        <source>&amp;Tidy</source>
        <translation>&amp;Nettoyer</translation>
    </message>
    <message>
        <source>&amp;Trim Blanks</source>
        <translation>&amp;Rogner les espaces</translation>
    </message>
    <message>
        <source>&amp;Collapse Inner Blanks</source>
        <translation>Re&amp;grouper les espaces intérieurs</translation>
    </message>
    <message>
        <source>Remove &amp;Invisible Characters</source>
        <translation>Supprimer les caractères &amp;invisibles</translation>
    </message>
    <message>
        <source>Remove &amp;Empty Items</source>
        <translation>Supprimer les éléments &amp;vides</translation>
    </message>
    <message>
        <source>&amp;Lower Case</source>
        <translation>&amp;Minuscules</translation>
    </message>
    <message>
        <source>&amp;Upper Case</source>
        <translation>Ma&amp;juscules</translation>
    </message>
    <message numerus="yes">
        <source>%1 item(s)</source>
        <translation>
            <numerusform>%1 élément</numerusform>
            <numerusform>%1 éléments</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1, %2 checked</source>
        <translation>
            <numerusform>%1, %2 coché</numerusform>
            <numerusform>%1, %2 cochés</numerusform>
        </translation>
    </message>
    <message>
        <source>Delimiter:</source>
        <translation>Séparateur :</translation>
    </message>
    <message>
        <source>Opening %1 was cancelled: nothing was imported.</source>
        <translation>L&apos;ouverture de %1 a été annulée : rien n&apos;a été importé.</translation>
    </message>
    <message>
        <source>The password for %1 is wrong, so nothing was imported.</source>
        <translation>Le mot de passe de %1 est incorrect : rien n&apos;a été importé.</translation>
    </message>
    <message>
        <source>Press Esc to stop waiting for Calc; nothing will be imported.</source>
        <translation>Appuyez sur Échap pour ne plus attendre Calc ; rien ne sera importé.</translation>
    </message>
</context>
</TS>
