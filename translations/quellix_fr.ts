<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>AboutDialog</name>
    <message>
        <source>About </source>
        <translation>À propos de </translation>
    </message>
    <message>
        <source>Ver 3.2.3</source>
        <translation>Version 3.2.3</translation>
    </message>
</context>
<context>
    <name>AnalysisSetupDialog</name>
    <message>
        <source>Analysis setup</source>
        <translation>Configuration de l&apos;analyse</translation>
    </message>
    <message>
        <source>Times with saturations high</source>
        <translation>Fois avec saturation haute</translation>
    </message>
    <message>
        <source>Times with saturations low</source>
        <translation>Fois avec saturation basse</translation>
    </message>
    <message>
        <source>Times with pr high</source>
        <translation>Fois avec pouls haut</translation>
    </message>
    <message>
        <source>Times with pr low</source>
        <translation>Fois avec pouls bas</translation>
    </message>
    <message>
        <source>Desaturation Event</source>
        <translation>Événement de désaturation</translation>
    </message>
    <message>
        <source>Pulse Event</source>
        <translation>Événement de pouls</translation>
    </message>
    <message>
        <source>Increase</source>
        <translation>Augmenter</translation>
    </message>
    <message>
        <source>Decrease</source>
        <translation>Diminuer</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>Application</name>
    <message>
        <source>Pulse oximeter recordings</source>
        <translation>Enregistrements d&apos;oxymètre de pouls</translation>
    </message>
    <message>
        <source>Screen reslution is to small to run the program,please change reslution over 1024 in horizontal and over 768 in vertical,otherwise the effect is not well!</source>
        <translation>La résolution de l&apos;écran est trop faible pour ce programme. Choisissez une résolution d&apos;au moins 1024 pixels en largeur et 768 pixels en hauteur, sinon l&apos;affichage sera dégradé !</translation>
    </message>
    <message>
        <source>The simulated oximeter could not be started.</source>
        <translation>L&apos;oxymètre simulé n&apos;a pas pu être démarré.</translation>
    </message>
</context>
<context>
    <name>Archive</name>
    <message>
        <source>Cannot create %1%2: check the folder&apos;s permissions and free space.</source>
        <translation>Impossible de créer %1%2 : vérifiez les droits du dossier et l&apos;espace libre.</translation>
    </message>
    <message>
        <source>Cannot read the archive %1%2.</source>
        <translation>Impossible de lire l&apos;archive %1%2.</translation>
    </message>
    <message>
        <source>The archive %1 is in use by another program; try again when it has finished.</source>
        <translation>L&apos;archive %1 est utilisée par un autre programme ; réessayez quand il aura terminé.</translation>
    </message>
    <message>
        <source>The archive %1 was made by a newer Quellix (archive version %2; this one reads up to %3). It was left unchanged: use the newer Quellix.</source>
        <translation>L&apos;archive %1 a été créée par un Quellix plus récent (version d&apos;archive %2 ; celui-ci lit jusqu&apos;à la version %3). Elle n&apos;a pas été modifiée : utilisez le Quellix plus récent.</translation>
    </message>
    <message>
        <source>The archive %1 is damaged and could not be replaced by a new one: move it away and start again. If this repeats, the disk may be failing.</source>
        <translation>L&apos;archive %1 est endommagée et n&apos;a pas pu être remplacée par une nouvelle : déplacez-la ailleurs et recommencez. Si cela se répète, le disque est peut-être défaillant.</translation>
    </message>
    <message>
        <source>Cannot write to the archive %1%2; nothing was changed. Is the disk full or the file read-only?</source>
        <translation>Impossible d&apos;écrire dans l&apos;archive %1%2 ; rien n&apos;a été modifié. Le disque est-il plein ou le fichier en lecture seule ?</translation>
    </message>
    <message>
        <source>There is no night %1 in the archive.</source>
        <translation>L&apos;archive ne contient pas de nuit %1.</translation>
    </message>
    <message>
        <source>Night %1 is damaged in the archive.</source>
        <translation>La nuit %1 est endommagée dans l&apos;archive.</translation>
    </message>
    <message>
        <source>%1 exists already; name a new file.</source>
        <translation>%1 existe déjà ; indiquez un nouveau fichier.</translation>
    </message>
    <message>
        <source>%1 is not a sound Quellix archive%2.</source>
        <translation>%1 n&apos;est pas une archive Quellix intacte%2.</translation>
    </message>
    <message>
        <source>%1 fails the check (%2).</source>
        <translation>%1 échoue à la vérification (%2).</translation>
    </message>
    <message>
        <source>The archive %1 may only be read with this server account; nothing was changed.</source>
        <translation>L&apos;archive %1 ne peut qu&apos;être lue avec ce compte du serveur ; rien n&apos;a été modifié.</translation>
    </message>
    <message>
        <source>The connection string holds a password, and Quellix keeps none: remove it and put it in ~/.pgpass, or type it when asked.</source>
        <translation>La chaîne de connexion contient un mot de passe, et Quellix n&apos;en garde aucun : retirez-le et mettez-le dans ~/.pgpass, ou saisissez-le quand il est demandé.</translation>
    </message>
    <message>
        <source>The archive %1 is on the clinic server: it is backed up there, with the server&apos;s own tools.</source>
        <translation>L&apos;archive %1 est sur le serveur de la clinique : elle y est sauvegardée, avec les outils du serveur.</translation>
    </message>
    <message>
        <source>The clinic server asks for a password to open the archive %1.</source>
        <translation>Le serveur de la clinique demande un mot de passe pour ouvrir l&apos;archive %1.</translation>
    </message>
    <message>
        <source>%1 nights not yet on the server</source>
        <translation>%1 nuits pas encore sur le serveur</translation>
    </message>
    <message>
        <source>The clinic server&apos;s nights</source>
        <translation>Les nuits du serveur de la clinique</translation>
    </message>
    <message>
        <source>This computer&apos;s nights</source>
        <translation>Les nuits de cet ordinateur</translation>
    </message>
    <message>
        <source>This server account may only read the archive: importing, deleting, editing details and marking artefacts are turned off.</source>
        <translation>Ce compte du serveur ne peut que lire l&apos;archive : l&apos;importation, la suppression, la modification des détails et le marquage des artefacts sont désactivés.</translation>
    </message>
</context>
<context>
    <name>ArchiveOptionsDialog</name>
    <message>
        <source>Archive</source>
        <translation>Archive</translation>
    </message>
    <message>
        <source>This computer only</source>
        <translation>Cet ordinateur seulement</translation>
    </message>
    <message>
        <source>This computer and the clinic server</source>
        <translation>Cet ordinateur et le serveur de la clinique</translation>
    </message>
    <message>
        <source>Connection string or service:</source>
        <translation>Chaîne de connexion ou service :</translation>
    </message>
    <message>
        <source>No password is kept: put it in ~/.pgpass, or type it when the server asks.</source>
        <translation>Aucun mot de passe n&apos;est gardé : mettez-le dans ~/.pgpass, ou saisissez-le quand le serveur le demande.</translation>
    </message>
    <message>
        <source>Test</source>
        <translation>Tester</translation>
    </message>
    <message>
        <source>Connecting...</source>
        <translation>Connexion...</translation>
    </message>
    <message>
        <source>Connected: this account may only read the nights.</source>
        <translation>Connecté : ce compte ne peut que lire les nuits.</translation>
    </message>
    <message>
        <source>Connected: this account may read and change the nights.</source>
        <translation>Connecté : ce compte peut lire et modifier les nuits.</translation>
    </message>
    <message>
        <source>Give the clinic server&apos;s connection string or service.</source>
        <translation>Indiquez la chaîne de connexion ou le service du serveur de la clinique.</translation>
    </message>
</context>
<context>
    <name>ArchiveAccess</name>
    <message>
        <source>The archive of recordings was damaged. It is kept as %1 and a new, empty archive was started.</source>
        <translation>L&apos;archive des enregistrements était endommagée. Elle est conservée sous %1 et une nouvelle archive vide a été créée.</translation>
    </message>
</context>
<context>
    <name>ArchiveTasks</name>
    <message>
        <source>can&apos;t open the file</source>
        <translation>impossible d&apos;ouvrir le fichier</translation>
    </message>
    <message>
        <source>%1 nights archived, %2 already in the archive.</source>
        <translation>%1 nuits archivées, %2 déjà dans l&apos;archive.</translation>
    </message>
    <message>
        <source>Import stopped after %1 of %2 files.</source>
        <translation>Importation arrêtée après %1 fichiers sur %2.</translation>
    </message>
    <message>
        <source>Not archived:</source>
        <translation>Non archivés :</translation>
    </message>
    <message>
        <source>not imported, more than 10 % of it was refused</source>
        <translation>non importé, plus de 10 % du fichier a été refusé</translation>
    </message>
</context>
<context>
    <name>BluetoothSearchDialog</name>
    <message>
        <source>Find bluetooth radio</source>
        <translation>Rechercher un appareil Bluetooth</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>Connecter</translation>
    </message>
    <message>
        <source>Devices nearby:</source>
        <translation>Appareils à proximité :</translation>
    </message>
    <message>
        <source>Address:</source>
        <translation>Adresse :</translation>
    </message>
    <message>
        <source>No Bluetooth adapter was found on this computer, so no device can be searched for. Plug in or switch on an adapter and try again.</source>
        <translation>Aucun adaptateur Bluetooth n&apos;a été trouvé sur cet ordinateur : impossible de rechercher un appareil. Branchez ou activez un adaptateur, puis réessayez.</translation>
    </message>
    <message numerus="yes">
        <source>Search finished: %n device(s) found.</source>
        <translation>
            <numerusform>Recherche terminée : %n appareil trouvé.</numerusform>
            <numerusform>Recherche terminée : %n appareils trouvés.</numerusform>
        </translation>
    </message>
    <message>
        <source>The Bluetooth search failed: %1</source>
        <translation>La recherche Bluetooth a échoué : %1</translation>
    </message>
    <message>
        <source>Search again</source>
        <translation>Rechercher à nouveau</translation>
    </message>
    <message>
        <source>Searching for Bluetooth devices ...</source>
        <translation>Recherche des appareils Bluetooth...</translation>
    </message>
    <message>
        <source>Choose a device in the list, or type its address as AA:BB:CC:DD:EE:FF.</source>
        <translation>Choisissez un appareil dans la liste ou saisissez son adresse sous la forme AA:BB:CC:DD:EE:FF.</translation>
    </message>
    <message>
        <source>Connecting to %1 ...</source>
        <translation>Connexion à %1...</translation>
    </message>
    <message>
        <source>Could not connect to %1: %2</source>
        <translation>Impossible de se connecter à %1 : %2</translation>
    </message>
</context>
<context>
    <name>ClinicalSummary</name>
    <message>
        <source>No valid readings</source>
        <translation>Aucune mesure valide</translation>
    </message>
    <message>
        <source>Valid time: %1</source>
        <translation>Durée valide : %1</translation>
    </message>
    <message>
        <source>Nadir SpO2: %1%</source>
        <translation>SpO2 minimale : %1%</translation>
    </message>
    <message>
        <source>T90: %1 (%2%)</source>
        <translation>T90 : %1 (%2%)</translation>
    </message>
    <message>
        <source>T88: %1 (%2%)</source>
        <translation>T88 : %1 (%2%)</translation>
    </message>
    <message>
        <source>ODI3: %1/h  ODI4: %2/h</source>
        <translation>IDO3 : %1/h  IDO4 : %2/h</translation>
    </message>
    <message>
        <source>Pulse min/mean/max: %1/%2/%3 bpm</source>
        <translation>Pouls min/moy./max : %1/%2/%3 bpm</translation>
    </message>
    <message>
        <source>Coverage: %1% (artefacts %2), short recording</source>
        <translation>Couverture : %1% (artefacts %2), enregistrement court</translation>
    </message>
    <message>
        <source>Coverage: %1% (artefacts %2)</source>
        <translation>Couverture : %1% (artefacts %2)</translation>
    </message>
    <message>
        <source>Mean SpO2: %1%  Hypoxic burden: %2 %·min/h</source>
        <translation>SpO2 moyenne : %1%  Charge hypoxique : %2 %·min/h</translation>
    </message>
    <message>
        <source>ΔI: %1  Desaturations: %2 s, %3%, pulse %4 bpm</source>
        <translation>ΔI : %1  Désaturations : %2 s, %3%, pouls %4 bpm</translation>
    </message>
</context>
<context>
    <name>DataView</name>
    <message>
        <source>The printer could not be started. Check that it is installed and ready.</source>
        <translation>L&apos;imprimante n&apos;a pas pu être démarrée. Vérifiez qu&apos;elle est installée et prête.</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Imprimer</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Printing page %1 of %2...</source>
        <translation>Impression de la page %1 sur %2...</translation>
    </message>
</context>
<context>
    <name>DeleteDataDialog</name>
    <message>
        <source>Delete Data</source>
        <translation>Supprimer les données</translation>
    </message>
    <message>
        <source>ID :</source>
        <translation>ID :</translation>
    </message>
    <message>
        <source>Data Type :</source>
        <translation>Type de données :</translation>
    </message>
    <message>
        <source>All</source>
        <translation>Tout</translation>
    </message>
</context>
<context>
    <name>DeletingDataWindow</name>
    <message>
        <source>Deleting Data ...</source>
        <translation>Suppression des données...</translation>
    </message>
</context>
<context>
    <name>Device</name>
    <message>
        <source>write com command failed!</source>
        <translation>Échec de l&apos;envoi de la commande sur le port série !</translation>
    </message>
    <message>
        <source>Read data timeout,please retry</source>
        <translation>Délai de lecture des données dépassé, veuillez réessayer</translation>
    </message>
    <message>
        <source>No Connected, please connect device!</source>
        <translation>Non connecté, veuillez connecter l&apos;appareil !</translation>
    </message>
    <message>
        <source>read data out of buffer!</source>
        <translation>Les données lues dépassent la mémoire tampon !</translation>
    </message>
    <message>
        <source>read com failed!</source>
        <translation>Échec de la lecture du port série !</translation>
    </message>
    <message>
        <source>Can&apos;t find right COM or the device is power off !</source>
        <translation>Port série de l&apos;appareil introuvable, ou appareil éteint !</translation>
    </message>
    <message>
        <source>no data!</source>
        <translation>Aucune donnée !</translation>
    </message>
    <message>
        <source>Synchronization error!</source>
        <translation>Erreur de synchronisation !</translation>
    </message>
    <message>
        <source>new memory err!</source>
        <translation>Erreur d&apos;allocation mémoire !</translation>
    </message>
    <message>
        <source>Set Date and Time Succeed !</source>
        <translation>Date et heure réglées avec succès !</translation>
    </message>
    <message>
        <source>Set Date and Time Error !</source>
        <translation>Erreur lors du réglage de la date et de l&apos;heure !</translation>
    </message>
    <message>
        <source>Device data cleared !</source>
        <translation>Données de l&apos;appareil effacées !</translation>
    </message>
    <message>
        <source>Delete Data Error !</source>
        <translation>Erreur lors de la suppression des données !</translation>
    </message>
    <message>
        <source>Connect succeed! Total</source>
        <translation>Connexion réussie ! Total :</translation>
    </message>
    <message>
        <source>Frames!</source>
        <translation>trames !</translation>
    </message>
    <message>
        <source>Permission denied on %1: add your user to the dialout group, then log in again</source>
        <translation>Accès refusé à %1 : ajoutez votre utilisateur au groupe dialout, puis reconnectez-vous</translation>
    </message>
    <message>
        <source>Only %1 of the %2 announced frames arrived.</source>
        <translation>Seules %1 des %2 trames annoncées ont été reçues.</translation>
    </message>
    <message>
        <source>Frames announced: %1, arrived: %2</source>
        <translation>Trames annoncées : %1, reçues : %2</translation>
    </message>
    <message>
        <source>ID %1: first reading %2, last reading %3</source>
        <translation>ID %1 : première mesure %2, dernière mesure %3</translation>
    </message>
    <message>
        <source>%1 nights archived, %2 already in the archive.</source>
        <translation>%1 nuits archivées, %2 déjà dans l&apos;archive.</translation>
    </message>
    <message>
        <source>The archive could not be written (%1). The downloaded readings are still here; save them to keep them.</source>
        <translation>Impossible d&apos;écrire dans l&apos;archive (%1). Les mesures téléchargées sont toujours là ; enregistrez-les pour les conserver.</translation>
    </message>
    <message>
        <source>The archive was damaged: it is kept as %1 and a new archive was started.</source>
        <translation>L&apos;archive était endommagée : elle est conservée sous %1 et une nouvelle archive a été créée.</translation>
    </message>
</context>
<context>
    <name>DeviceCommands</name>
    <message>
        <source>CONNECT SUCCEED</source>
        <translation>CONNEXION RÉUSSIE</translation>
    </message>
</context>
<context>
    <name>DownloadDialog</name>
    <message>
        <source>New Data Capture</source>
        <translation>Nouvelle acquisition de données</translation>
    </message>
    <message>
        <source>Data Info</source>
        <translation>Informations sur les données</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Démarrer</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Arrêter</translation>
    </message>
    <message>
        <source>DeleteData</source>
        <translation>Supprimer les données</translation>
    </message>
    <message>
        <source>SetDateAndTime</source>
        <translation>Régler date et heure</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Extend &gt;&gt;</source>
        <translation>Avancé &gt;&gt;</translation>
    </message>
    <message>
        <source>Manual Setup</source>
        <translation>Réglage manuel</translation>
    </message>
    <message>
        <source>PORT</source>
        <translation>PORT</translation>
    </message>
    <message>
        <source>Searching for the device ...</source>
        <translation>Recherche de l&apos;appareil...</translation>
    </message>
    <message>
        <source>Waiting for the device ...</source>
        <translation>En attente de l&apos;appareil...</translation>
    </message>
    <message>
        <source>&lt;&lt;Standard</source>
        <translation>&lt;&lt;Standard</translation>
    </message>
    <message>
        <source>Save raw dump...</source>
        <translation>Enregistrer le vidage brut...</translation>
    </message>
    <message>
        <source>Raw dump (*.dump)</source>
        <translation>Vidage brut (*.dump)</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>Impossible d&apos;écrire %1 : %2</translation>
    </message>
</context>
<context>
    <name>EventTimeFile</name>
    <message>
        <source>Data file(*.txt)</source>
        <translation>Fichier de données(*.txt)</translation>
    </message>
    <message>
        <source>Nothing was written: choose a file name ending in .txt.</source>
        <translation>Rien n&apos;a été écrit : choisissez un nom de fichier se terminant par .txt.</translation>
    </message>
</context>
<context>
    <name>ExportProgress</name>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <source>Quellix manual</source>
        <translation>Manuel de Quellix</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Rechercher</translation>
    </message>
    <message>
        <source>Open in browser</source>
        <translation>Ouvrir dans le navigateur</translation>
    </message>
    <message>
        <source>Not found</source>
        <translation>Introuvable</translation>
    </message>
</context>
<context>
    <name>Import</name>
    <message>
        <source>the columns need time= and spo2= or pulse=</source>
        <translation>les colonnes demandent time= et spo2= ou pulse=</translation>
    </message>
    <message>
        <source>not a column choice: &apos;%1&apos; (use time=N,spo2=N,pulse=N, columns from 1)</source>
        <translation>choix de colonnes invalide : &apos;%1&apos; (utilisez time=N,spo2=N,pulse=N, colonnes à partir de 1)</translation>
    </message>
    <message>
        <source>the time format &apos;%1&apos; has an unclosed quote</source>
        <translation>le format d&apos;heure &apos;%1&apos; a un guillemet non fermé</translation>
    </message>
    <message>
        <source>the time format &apos;%1&apos; has the unknown letters &apos;%2&apos;</source>
        <translation>le format d&apos;heure &apos;%1&apos; contient les lettres inconnues &apos;%2&apos;</translation>
    </message>
    <message>
        <source>the time format &apos;%1&apos; needs a day, a month, a year and an hour</source>
        <translation>le format d&apos;heure &apos;%1&apos; doit comporter un jour, un mois, une année et une heure</translation>
    </message>
    <message>
        <source>the time format &apos;%1&apos; needs both h and AP for a 12-hour clock</source>
        <translation>le format d&apos;heure &apos;%1&apos; doit comporter h et AP pour une horloge de 12 heures</translation>
    </message>
    <message>
        <source>more than %1 readings (31 days)</source>
        <translation>plus de %1 mesures (31 jours)</translation>
    </message>
    <message>
        <source>too few fields</source>
        <translation>trop peu de champs</translation>
    </message>
    <message>
        <source>time &apos;%1&apos; is not a time</source>
        <translation>l&apos;heure &apos;%1&apos; n&apos;est pas une heure</translation>
    </message>
    <message>
        <source>SpO2 &apos;%1&apos; is not a reading</source>
        <translation>la SpO2 &apos;%1&apos; n&apos;est pas une mesure</translation>
    </message>
    <message>
        <source>pulse &apos;%1&apos; is not a reading</source>
        <translation>le pouls &apos;%1&apos; n&apos;est pas une mesure</translation>
    </message>
    <message>
        <source>time &apos;%1&apos; is before the row above</source>
        <translation>l&apos;heure &apos;%1&apos; précède celle de la ligne au-dessus</translation>
    </message>
    <message>
        <source>missing, the file ends before it</source>
        <translation>manquant, le fichier se termine avant</translation>
    </message>
    <message>
        <source>no time-keeping annotation</source>
        <translation>pas d&apos;annotation de temps</translation>
    </message>
    <message>
        <source>starts before the record above ends</source>
        <translation>commence avant la fin de l&apos;enregistrement précédent</translation>
    </message>
    <message>
        <source>neither a .csv, .txt nor an .edf file</source>
        <translation>ni un fichier .csv, .txt ni un fichier .edf</translation>
    </message>
    <message>
        <source>larger than %1 MB, more than any night</source>
        <translation>plus de %1 Mo, plus que n&apos;importe quelle nuit</translation>
    </message>
    <message>
        <source>cannot be read: %1</source>
        <translation>illisible : %1</translation>
    </message>
    <message>
        <source>the file is empty</source>
        <translation>le fichier est vide</translation>
    </message>
    <message>
        <source>no header in the first lines names the time and SpO2 or pulse columns</source>
        <translation>aucun en-tête des premières lignes ne nomme les colonnes de l&apos;heure et de la SpO2 ou du pouls</translation>
    </message>
    <message>
        <source>no readings after the header</source>
        <translation>aucune mesure après l&apos;en-tête</translation>
    </message>
    <message>
        <source>time &apos;%1&apos; is in no known format; give the time format</source>
        <translation>l&apos;heure &apos;%1&apos; n&apos;est dans aucun format connu ; indiquez le format d&apos;heure</translation>
    </message>
    <message>
        <source>the dates, such as &apos;%1&apos;, could be day or month first; give the time format</source>
        <translation>les dates, par exemple &apos;%1&apos;, peuvent commencer par le jour ou par le mois ; indiquez le format d&apos;heure</translation>
    </message>
    <message>
        <source>not an EDF file: shorter than its 256-byte header</source>
        <translation>pas un fichier EDF : plus court que son en-tête de 256 octets</translation>
    </message>
    <message>
        <source>not an EDF file: the version is not 0</source>
        <translation>pas un fichier EDF : la version n&apos;est pas 0</translation>
    </message>
    <message>
        <source>not an EDF file: the header&apos;s sizes do not agree</source>
        <translation>pas un fichier EDF : les tailles de l&apos;en-tête ne concordent pas</translation>
    </message>
    <message>
        <source>the data records have no usable duration</source>
        <translation>les enregistrements de données n&apos;ont pas de durée utilisable</translation>
    </message>
    <message>
        <source>the start date or time is not one</source>
        <translation>la date ou l&apos;heure de début n&apos;est pas valide</translation>
    </message>
    <message>
        <source>the start %1 is not a date and time from 2000 on</source>
        <translation>le début %1 n&apos;est pas une date et une heure à partir de 2000</translation>
    </message>
    <message>
        <source>signal %1 (%2) has no usable number of samples</source>
        <translation>le signal %1 (%2) n&apos;a pas de nombre d&apos;échantillons utilisable</translation>
    </message>
    <message>
        <source>data records above %1 bytes</source>
        <translation>enregistrements de données de plus de %1 octets</translation>
    </message>
    <message>
        <source>signal %1 (%2) has limits that are not numbers</source>
        <translation>les limites du signal %1 (%2) ne sont pas des nombres</translation>
    </message>
    <message>
        <source>no SpO2 or pulse signal in the file</source>
        <translation>aucun signal de SpO2 ou de pouls dans le fichier</translation>
    </message>
    <message>
        <source>an EDF+D file without its annotations signal</source>
        <translation>un fichier EDF+D sans son signal d&apos;annotations</translation>
    </message>
    <message>
        <source>no data records</source>
        <translation>aucun enregistrement de données</translation>
    </message>
    <message>
        <source>line %1: %2</source>
        <translation>ligne %1 : %2</translation>
    </message>
    <message>
        <source>record %1: %2</source>
        <translation>enregistrement %1 : %2</translation>
    </message>
    <message>
        <source>no valid reading: %1</source>
        <translation>aucune mesure valide : %1</translation>
    </message>
    <message>
        <source>no valid record: %1</source>
        <translation>aucun enregistrement valide : %1</translation>
    </message>
    <message>
        <source>%1 records read, %2 refused</source>
        <translation>%1 enregistrements lus, %2 refusés</translation>
    </message>
    <message>
        <source>%1 rows read, %2 refused</source>
        <translation>%1 lignes lues, %2 refusées</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1 : %2</translation>
    </message>
    <message>
        <source>times with a UTC offset were converted to this computer&apos;s local time</source>
        <translation>les heures avec un décalage UTC ont été converties en heure locale de cet ordinateur</translation>
    </message>
</context>
<context>
    <name>ImportColumnsDialog</name>
    <message>
        <source>Place the columns</source>
        <translation>Placer les colonnes</translation>
    </message>
    <message>
        <source>ignore</source>
        <translation>ignorer</translation>
    </message>
    <message>
        <source>time</source>
        <translation>heure</translation>
    </message>
    <message>
        <source>date</source>
        <translation>date</translation>
    </message>
    <message>
        <source>SpO2</source>
        <translation>SpO2</translation>
    </message>
    <message>
        <source>pulse</source>
        <translation>pouls</translation>
    </message>
    <message>
        <source>Date and time pattern:</source>
        <translation>Format de la date et de l&apos;heure :</translation>
    </message>
    <message>
        <source>Choose the time column and the SpO2 or pulse column.</source>
        <translation>Choisissez la colonne de l&apos;heure et celle de la SpO2 ou du pouls.</translation>
    </message>
</context>
<context>
    <name>ImportPatientDialog</name>
    <message>
        <source>Patient of the imported files</source>
        <translation>Patient des fichiers importés</translation>
    </message>
    <message>
        <source>These files name no device ID. Their nights are archived for this patient:</source>
        <translation>Ces fichiers n&apos;indiquent aucun ID d&apos;appareil. Leurs nuits sont archivées pour ce patient :</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>Nom :</translation>
    </message>
    <message>
        <source>ID:</source>
        <translation>ID :</translation>
    </message>
</context>
<context>
    <name>LanguageDialog</name>
    <message>
        <source>Language</source>
        <translation>Langue</translation>
    </message>
    <message>
        <source>&amp;Language of the program:</source>
        <translation>&amp;Langue du programme :</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Computing the archive&apos;s figures again: %1 of %2 nights</source>
        <translation>Recalcul des valeurs de l&apos;archive : %1 nuits sur %2</translation>
    </message>
    <message>
        <source>NewDataCapture (&amp;N)</source>
        <translation>Nouvelle acquisition (&amp;N)</translation>
    </message>
    <message>
        <source>Find bluetooth radio</source>
        <translation>Rechercher un appareil Bluetooth</translation>
    </message>
    <message>
        <source>Open Other ID Data</source>
        <translation>Ouvrir les données d&apos;un autre ID</translation>
    </message>
    <message>
        <source>Save Data(&amp;S)...</source>
        <translation>Enregistrer les données(&amp;S)...</translation>
    </message>
    <message>
        <source>Open Saved Data(&amp;O)...</source>
        <translation>Ouvrir des données enregistrées(&amp;O)...</translation>
    </message>
    <message>
        <source>Check out the SpO2 event time...</source>
        <translation>Consulter les heures des événements SpO2...</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>PrintPreView</source>
        <translation>Aperçu avant impression</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Imprimer</translation>
    </message>
    <message>
        <source>Exit(&amp;X)</source>
        <translation>Quitter(&amp;X)</translation>
    </message>
    <message>
        <source>Patient Info</source>
        <translation>Informations patient</translation>
    </message>
    <message>
        <source>Patient Title</source>
        <translation>En-tête patient</translation>
    </message>
    <message>
        <source>Trend</source>
        <translation>Tendance</translation>
    </message>
    <message>
        <source>Table</source>
        <translation>Tableau</translation>
    </message>
    <message>
        <source>Analysis</source>
        <translation>Analyse</translation>
    </message>
    <message>
        <source>Roll Step</source>
        <translation>Pas de défilement</translation>
    </message>
    <message>
        <source>Analysis Setup</source>
        <translation>Paramètres d&apos;analyse</translation>
    </message>
    <message>
        <source>Unit Setup</source>
        <translation>Réglage des unités</translation>
    </message>
    <message>
        <source>PageUp</source>
        <translation>Page précédente</translation>
    </message>
    <message>
        <source>PageDown</source>
        <translation>Page suivante</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Langue</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Aide</translation>
    </message>
    <message>
        <source>File(&amp;F)</source>
        <translation>Fichier(&amp;F)</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Édition</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>About(&amp;A)</source>
        <translation>À propos(&amp;A)</translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation>Barre d&apos;outils</translation>
    </message>
    <message>
        <source>Ready</source>
        <translation>Prêt</translation>
    </message>
    <message>
        <source>The Reslution is to small to run the program!</source>
        <translation>La résolution de l&apos;écran est trop faible pour exécuter le programme !</translation>
    </message>
    <message>
        <source>Recording saved.</source>
        <translation>Enregistrement sauvegardé.</translation>
    </message>
    <message>
        <source>Can&apos;t open file</source>
        <translation>Impossible d&apos;ouvrir le fichier</translation>
    </message>
    <message>
        <source>Event times saved.</source>
        <translation>Heures des événements enregistrées.</translation>
    </message>
    <message>
        <source>About 	(&amp;A)...</source>
        <translation>À propos 	(&amp;A)...</translation>
    </message>
    <message>
        <source>Keep every download in the archive</source>
        <translation>Conserver chaque téléchargement dans l&apos;archive</translation>
    </message>
    <message>
        <source>The downloaded recording is not saved. Discard it?</source>
        <translation>L&apos;enregistrement téléchargé n&apos;est pas sauvegardé. L&apos;abandonner ?</translation>
    </message>
    <message>
        <source>The patient details could not be written to the archive: %1</source>
        <translation>Impossible d&apos;écrire les informations du patient dans l&apos;archive : %1</translation>
    </message>
    <message>
        <source>Recordings...</source>
        <translation>Enregistrements...</translation>
    </message>
    <message>
        <source>Import into archive...</source>
        <translation>Importer dans l&apos;archive...</translation>
    </message>
    <message>
        <source>Marks are kept with nights in the archive: open this night from File &gt; Recordings...</source>
        <translation>Les marques sont conservées avec les nuits de l&apos;archive : ouvrez cette nuit par Fichier &gt; Enregistrements...</translation>
    </message>
    <message>
        <source>The marks could not be stored in the archive.</source>
        <translation>Impossible d&apos;enregistrer les marques dans l&apos;archive.</translation>
    </message>
    <message>
        <source>The night could not be opened from the archive.</source>
        <translation>Impossible d&apos;ouvrir cette nuit depuis l&apos;archive.</translation>
    </message>
    <message>
        <source>Archiving the files...</source>
        <translation>Archivage des fichiers...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Import into archive</source>
        <translation>Importer dans l&apos;archive</translation>
    </message>
    <message>
        <source>Data file(*.dat)</source>
        <translation>Fichier de données(*.dat)</translation>
    </message>
    <message>
        <source>Recordings (*.dat *.csv *.txt *.edf)</source>
        <translation>Enregistrements (*.dat *.csv *.txt *.edf)</translation>
    </message>
    <message>
        <source>More than 10 % of %1 was refused (%2). Import it all the same?</source>
        <translation>Plus de 10 % de %1 a été refusé (%2). L&apos;importer quand même ?</translation>
    </message>
    <message>
        <source>Overview</source>
        <translation>Vue d&apos;ensemble</translation>
    </message>
    <message>
        <source>Clinic server</source>
        <translation>Serveur de la clinique</translation>
    </message>
    <message>
        <source>Password for the clinic server:</source>
        <translation>Mot de passe du serveur de la clinique :</translation>
    </message>
    <message>
        <source>Archive...</source>
        <translation>Archive...</translation>
    </message>
</context>
<context>
    <name>NightListModel</name>
    <message>
        <source>Figures of an older Quellix, being computed again</source>
        <translation>Valeurs d&apos;une version antérieure de Quellix, en cours de recalcul</translation>
    </message>
    <message>
        <source>ID %1 (no name)</source>
        <translation>ID %1 (sans nom)</translation>
    </message>
    <message>
        <source>Patient</source>
        <translation>Patient</translation>
    </message>
    <message>
        <source>ID</source>
        <translation>ID</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Début</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>Durée</translation>
    </message>
    <message>
        <source>Valid %</source>
        <translation>Valide %</translation>
    </message>
    <message>
        <source>ODI 4%</source>
        <translation>IDO 4%</translation>
    </message>
    <message>
        <source>T90 %</source>
        <translation>T90 %</translation>
    </message>
    <message>
        <source>Nadir %</source>
        <translation>Nadir %</translation>
    </message>
    <message>
        <source>Interval</source>
        <translation>Intervalle</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 s</translation>
    </message>
</context>
<context>
    <name>OkCancelButtons</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>OtherIdDialog</name>
    <message>
        <source>Open other ID data</source>
        <translation>Ouvrir les données d&apos;un autre ID</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Terminé</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>Overview</name>
    <message>
        <source>%1 (+%2 short)</source>
        <translation>%1 (+%2 courtes)</translation>
    </message>
    <message numerus="yes">
        <source>%n short night(s) (under 4 hours of valid readings) shown in grey, left out of the means.</source>
        <translation>
            <numerusform>%n nuit courte (moins de 4 heures de mesures valides) en gris, écartée des moyennes.</numerusform>
            <numerusform>%n nuits courtes (moins de 4 heures de mesures valides) en gris, écartées des moyennes.</numerusform>
        </translation>
    </message>
    <message>
        <source>%·min/h</source>
        <translation>%·min/h</translation>
    </message>
    <message>
        <source>/h</source>
        <translation>/h</translation>
    </message>
    <message>
        <source>7 days</source>
        <translation>7 jours</translation>
    </message>
    <message>
        <source>30 days</source>
        <translation>30 jours</translation>
    </message>
    <message>
        <source>90 days</source>
        <translation>90 jours</translation>
    </message>
    <message>
        <source>365 days</source>
        <translation>365 jours</translation>
    </message>
    <message>
        <source>Coverage</source>
        <translation>Couverture</translation>
    </message>
    <message>
        <source>Hypoxic burden</source>
        <translation>Charge hypoxique</translation>
    </message>
    <message>
        <source>Mean SpO2</source>
        <translation>SpO2 moyenne</translation>
    </message>
    <message>
        <source>Most recent</source>
        <translation>Plus récente</translation>
    </message>
    <message>
        <source>Most recent (short)</source>
        <translation>Plus récente (courte)</translation>
    </message>
    <message>
        <source>Nadir SpO2</source>
        <translation>SpO2 minimale</translation>
    </message>
    <message>
        <source>Nights</source>
        <translation>Nuits</translation>
    </message>
    <message>
        <source>ODI 3 %</source>
        <translation>IDO 3 %</translation>
    </message>
    <message>
        <source>ODI 4 %</source>
        <translation>IDO 4 %</translation>
    </message>
    <message>
        <source>Period</source>
        <translation>Période</translation>
    </message>
    <message>
        <source>Pulse mean (min–max)</source>
        <translation>Pouls moyen (min–max)</translation>
    </message>
    <message>
        <source>T90 %</source>
        <translation>T90 %</translation>
    </message>
    <message>
        <source>Valid hours</source>
        <translation>Heures valides</translation>
    </message>
    <message>
        <source>bpm</source>
        <translation>bpm</translation>
    </message>
    <message>
        <source>h</source>
        <translation>h</translation>
    </message>
</context>
<context>
    <name>OverviewView</name>
    <message>
        <source>ID %1 (no name)</source>
        <translation>ID %1 (sans nom)</translation>
    </message>
    <message>
        <source>%1 (ID %2)</source>
        <translation>%1 (ID %2)</translation>
    </message>
    <message>
        <source>Last 7 nights</source>
        <translation>7 dernières nuits</translation>
    </message>
    <message>
        <source>Last 30 nights</source>
        <translation>30 dernières nuits</translation>
    </message>
    <message>
        <source>Last 90 nights</source>
        <translation>90 dernières nuits</translation>
    </message>
    <message>
        <source>Last 365 nights</source>
        <translation>365 dernières nuits</translation>
    </message>
    <message>
        <source>All nights</source>
        <translation>Toutes les nuits</translation>
    </message>
    <message>
        <source>From - to</source>
        <translation>Du - au</translation>
    </message>
    <message>
        <source>Patient:</source>
        <translation>Patient :</translation>
    </message>
    <message>
        <source>Period:</source>
        <translation>Période :</translation>
    </message>
    <message>
        <source>From:</source>
        <translation>Du :</translation>
    </message>
    <message>
        <source>To:</source>
        <translation>Au :</translation>
    </message>
    <message>
        <source>The archive of recordings could not be read.</source>
        <translation>Impossible de lire l&apos;archive des enregistrements.</translation>
    </message>
    <message>
        <source>The archive holds no nights yet. Nights come into it with each download, or with File &gt; Import into archive...</source>
        <translation>L&apos;archive ne contient encore aucune nuit. Les nuits y entrent à chaque téléchargement, ou par Fichier &gt; Importer dans l&apos;archive...</translation>
    </message>
    <message>
        <source>No night of this patient falls in the period.</source>
        <translation>Aucune nuit de ce patient dans cette période.</translation>
    </message>
</context>
<context>
    <name>PatientInfoDialog</name>
    <message>
        <source>Edit patient information</source>
        <translation>Modifier les informations du patient</translation>
    </message>
    <message>
        <source>ID &amp;Number</source>
        <translation>&amp;Numéro d&apos;identification</translation>
    </message>
    <message>
        <source>&amp;Gender</source>
        <translation>&amp;Sexe</translation>
    </message>
    <message>
        <source>Na&amp;me</source>
        <translation>N&amp;om</translation>
    </message>
    <message>
        <source>&amp;Age</source>
        <translation>Â&amp;ge</translation>
    </message>
    <message>
        <source>&amp;Height</source>
        <translation>&amp;Taille</translation>
    </message>
    <message>
        <source>&amp;Weight</source>
        <translation>&amp;Poids</translation>
    </message>
    <message>
        <source>&amp;Physician</source>
        <translation>&amp;Médecin</translation>
    </message>
    <message>
        <source>Note &amp;1</source>
        <translation>Note &amp;1</translation>
    </message>
    <message>
        <source>Note &amp;2</source>
        <translation>Note &amp;2</translation>
    </message>
    <message>
        <source>&amp;Comments</source>
        <translation>&amp;Commentaires</translation>
    </message>
    <message>
        <source>&amp;Save Info</source>
        <translation>&amp;Enregistrer les infos</translation>
    </message>
    <message>
        <source>&amp;Delete Info</source>
        <translation>S&amp;upprimer les infos</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>PrintPreviewDialog</name>
    <message>
        <source>Print Preview</source>
        <translation>Aperçu avant impression</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;Imprimer...</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Imprimer</translation>
    </message>
    <message>
        <source>First page</source>
        <translation>Première page</translation>
    </message>
    <message>
        <source>Previous page</source>
        <translation>Page précédente</translation>
    </message>
    <message>
        <source>Next page</source>
        <translation>Page suivante</translation>
    </message>
    <message>
        <source>Last page</source>
        <translation>Dernière page</translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation>Zoom avant</translation>
    </message>
    <message>
        <source>Zoom out</source>
        <translation>Zoom arrière</translation>
    </message>
    <message>
        <source>Fit to window</source>
        <translation>Ajuster à la fenêtre</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Fermer</translation>
    </message>
    <message>
        <source>Page %1 of %2</source>
        <translation>Page %1 sur %2</translation>
    </message>
</context>
<context>
    <name>RecordStore</name>
    <message>
        <source>Get patient info error!</source>
        <translation>Erreur lors de la lecture des informations patient !</translation>
    </message>
</context>
<context>
    <name>RecordingsWindow</name>
    <message>
        <source>Recordings</source>
        <translation>Enregistrements</translation>
    </message>
    <message>
        <source>Patient or ID:</source>
        <translation>Patient ou ID :</translation>
    </message>
    <message>
        <source>From:</source>
        <translation>Du :</translation>
    </message>
    <message>
        <source>To:</source>
        <translation>Au :</translation>
    </message>
    <message>
        <source>any</source>
        <translation>toutes</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Ouvrir</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Supprimer</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Annuler la suppression</translation>
    </message>
    <message>
        <source>Format:</source>
        <translation>Format :</translation>
    </message>
    <message>
        <source>Export selected...</source>
        <translation>Exporter la sélection...</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>The archive of recordings could not be read.</source>
        <translation>Impossible de lire l&apos;archive des enregistrements.</translation>
    </message>
    <message>
        <source>Remove the selected nights (%1) from the archive?</source>
        <translation>Retirer les nuits sélectionnées (%1) de l&apos;archive ?</translation>
    </message>
    <message>
        <source>These nights could not be removed:</source>
        <translation>Ces nuits n&apos;ont pas pu être retirées :</translation>
    </message>
    <message>
        <source>The night could not be restored.</source>
        <translation>Impossible de restaurer la nuit.</translation>
    </message>
    <message>
        <source>%1 files written to %2.</source>
        <translation>%1 fichiers écrits dans %2.</translation>
    </message>
    <message>
        <source>Not written:</source>
        <translation>Non écrits :</translation>
    </message>
    <message>
        <source>Patient details...</source>
        <translation>Informations patient...</translation>
    </message>
    <message>
        <source>The details could not be saved in the archive.</source>
        <translation>Impossible d&apos;enregistrer les informations dans l&apos;archive.</translation>
    </message>
    <message>
        <source>The clinic server cannot be reached (%1). New nights and changes wait on this computer.</source>
        <translation>Le serveur de la clinique est injoignable (%1). Les nouvelles nuits et les modifications attendent sur cet ordinateur.</translation>
    </message>
</context>
<context>
    <name>ReportTitleDialog</name>
    <message>
        <source>Modify Title</source>
        <translation>Modifier le titre</translation>
    </message>
    <message>
        <source>&amp;Title</source>
        <translation>&amp;Titre</translation>
    </message>
</context>
<context>
    <name>RollStepDialog</name>
    <message>
        <source>Set Step</source>
        <translation>Régler le pas</translation>
    </message>
    <message>
        <source>Roll Step :</source>
        <translation>Pas de défilement :</translation>
    </message>
    <message>
        <source>Increase</source>
        <translation>Augmenter</translation>
    </message>
    <message>
        <source>Decrease</source>
        <translation>Diminuer</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>SavedData</name>
    <message>
        <source>Nothing was written: choose a file name ending in .dat, .txt, .xls, .csv or .edf.</source>
        <translation>Rien n&apos;a été écrit : choisissez un nom de fichier se terminant par .dat, .txt, .xls, .csv ou .edf.</translation>
    </message>
    <message>
        <source>Data file(*.dat)</source>
        <translation>Fichier de données(*.dat)</translation>
    </message>
    <message>
        <source>The recording needs %1 files, and these already exist:
%2
Replace them?</source>
        <translation>L&apos;enregistrement nécessite %1 fichiers, et ceux-ci existent déjà :
%2
Les remplacer ?</translation>
    </message>
    <message>
        <source>The recording has %1 readings, more than one file can hold, so it was saved in %2 files:
%3</source>
        <translation>L&apos;enregistrement compte %1 mesures, plus qu&apos;un fichier ne peut en contenir ; il a donc été enregistré en %2 fichiers :
%3</translation>
    </message>
    <message>
        <source>Nothing was written: an EDF+ file needs at least one reading for its start time.</source>
        <translation>Rien n&apos;a été écrit : un fichier EDF+ a besoin d&apos;au moins une mesure pour son heure de début.</translation>
    </message>
    <message>
        <source>These files hold the rest of the recording saved earlier under this name and are not part of this one:
%1
Remove them?</source>
        <translation>Ces fichiers contiennent la suite de l&apos;enregistrement enregistré auparavant sous ce nom et ne font pas partie de celui-ci :
%1
Les supprimer ?</translation>
    </message>
    <message>
        <source>These files could not be removed:
%1</source>
        <translation>Ces fichiers n&apos;ont pas pu être supprimés :
%1</translation>
    </message>
</context>
<context>
    <name>SetClockDialog</name>
    <message>
        <source>Set Date And Time</source>
        <translation>Régler la date et l&apos;heure</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Hour:</source>
        <translation>Heure :</translation>
    </message>
    <message>
        <source>Minute:</source>
        <translation>Minute :</translation>
    </message>
    <message>
        <source>Second:</source>
        <translation>Seconde :</translation>
    </message>
    <message>
        <source>Please input a Num !</source>
        <translation>Veuillez saisir un nombre !</translation>
    </message>
    <message>
        <source>Please input a legal value !</source>
        <translation>Veuillez saisir une valeur valide !</translation>
    </message>
</context>
<context>
    <name>StartPage</name>
    <message>
        <source>Download from the oximeter</source>
        <translation>Télécharger depuis l&apos;oxymètre</translation>
    </message>
    <message>
        <source>Open saved data</source>
        <translation>Ouvrir des données enregistrées</translation>
    </message>
    <message>
        <source>Latest nights in the archive</source>
        <translation>Dernières nuits de l&apos;archive</translation>
    </message>
    <message>
        <source>No nights in the archive yet.</source>
        <translation>L&apos;archive ne contient encore aucune nuit.</translation>
    </message>
    <message>
        <source>Patient</source>
        <translation>Patient</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Début</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>Durée</translation>
    </message>
</context>
<context>
    <name>Texts</name>
    <message>
        <source>scope : 0 - 157,Please ReInput</source>
        <translation>Plage : 0 - 157, veuillez ressaisir</translation>
    </message>
    <message>
        <source>Graphic Summary</source>
        <translation>Résumé graphique</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Terminé</translation>
    </message>
    <message>
        <source>Pulse Rate (50 BPM per division)</source>
        <translation>Fréquence de pouls (50 BPM par division)</translation>
    </message>
    <message>
        <source>total</source>
        <translation>total</translation>
    </message>
    <message>
        <source>Groups</source>
        <translation>groupes</translation>
    </message>
    <message>
        <source>RecordDate :</source>
        <translation>Date d&apos;enreg. :</translation>
    </message>
    <message>
        <source>RecordTime : </source>
        <translation>Heure d&apos;enreg. : </translation>
    </message>
    <message>
        <source>SpO2       (20% per division)</source>
        <translation>SpO2       (20% par division)</translation>
    </message>
    <message>
        <source>Item</source>
        <translation>N°</translation>
    </message>
    <message>
        <source>Create Excel service failed !</source>
        <translation>Échec du démarrage du service Excel !</translation>
    </message>
    <message>
        <source>can&apos;t open the file</source>
        <translation>Impossible d&apos;ouvrir le fichier</translation>
    </message>
    <message>
        <source>Are you sure to delete the patient info?</source>
        <translation>Voulez-vous vraiment supprimer les informations du patient ?</translation>
    </message>
    <message>
        <source>Patient ID invalidate</source>
        <translation>ID patient non valide</translation>
    </message>
    <message>
        <source>Field must be 80 or less characters in length!</source>
        <translation>Ce champ ne doit pas dépasser 80 caractères !</translation>
    </message>
    <message>
        <source>Field must be 40 or less characters in length!</source>
        <translation>Ce champ ne doit pas dépasser 40 caractères !</translation>
    </message>
    <message>
        <source>Field must be 30 or less characters in length!</source>
        <translation>Ce champ ne doit pas dépasser 30 caractères !</translation>
    </message>
    <message>
        <source>scope : 0 - 1000,Please ReInput</source>
        <translation>Plage : 0 - 1000, veuillez ressaisir</translation>
    </message>
    <message>
        <source>scope : 0 - 200,Please ReInput</source>
        <translation>Plage : 0 - 200, veuillez ressaisir</translation>
    </message>
    <message>
        <source>Please select patient ID</source>
        <translation>Veuillez sélectionner un ID patient</translation>
    </message>
    <message>
        <source>Field must be 60 or less characters in length!</source>
        <translation>Ce champ ne doit pas dépasser 60 caractères !</translation>
    </message>
    <message>
        <source>You have Run one</source>
        <translation>Le programme est déjà en cours d&apos;exécution</translation>
    </message>
    <message>
        <source>Can&apos;t create the file</source>
        <translation>Impossible de créer le fichier</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Heure</translation>
    </message>
    <message>
        <source>PatientData</source>
        <translation>Données patient</translation>
    </message>
    <message>
        <source>Name :</source>
        <translation>Nom :</translation>
    </message>
    <message>
        <source>Gender : </source>
        <translation>Sexe : </translation>
    </message>
    <message>
        <source>Age : </source>
        <translation>Âge : </translation>
    </message>
    <message>
        <source>Height : </source>
        <translation>Taille : </translation>
    </message>
    <message>
        <source>Weight : </source>
        <translation>Poids : </translation>
    </message>
    <message>
        <source>Physician : </source>
        <translation>Médecin : </translation>
    </message>
    <message>
        <source>Note1 : </source>
        <translation>Note1 : </translation>
    </message>
    <message>
        <source>Note2 : </source>
        <translation>Note2 : </translation>
    </message>
    <message>
        <source>female</source>
        <translation>féminin</translation>
    </message>
    <message>
        <source>male</source>
        <translation>masculin</translation>
    </message>
    <message>
        <source>Start Date:</source>
        <translation>Date de début :</translation>
    </message>
    <message>
        <source>Start Time : </source>
        <translation>Heure de début : </translation>
    </message>
    <message>
        <source>End Date:</source>
        <translation>Date de fin :</translation>
    </message>
    <message>
        <source>End Time : </source>
        <translation>Heure de fin : </translation>
    </message>
    <message>
        <source>Comments:</source>
        <translation>Remarques :</translation>
    </message>
    <message>
        <source>times</source>
        <translation>fois</translation>
    </message>
    <message>
        <source>Desaturation Event:drop in SpO2 by at least</source>
        <translation>Événement de désaturation : baisse de la SpO2 d&apos;au moins</translation>
    </message>
    <message>
        <source>% for a minimum duration of 10 seconds.</source>
        <translation>% pendant au moins 10 secondes.</translation>
    </message>
    <message>
        <source>Pulse Event Change in rate by at least</source>
        <translation>Événement de pouls : variation de la fréquence d&apos;au moins</translation>
    </message>
    <message>
        <source>bpm for a minimum duration of 8 seconds.</source>
        <translation>bpm pendant au moins 8 secondes.</translation>
    </message>
    <message>
        <source>scope : 0 - 400,Please ReInput</source>
        <translation>Plage : 0 - 400, veuillez ressaisir</translation>
    </message>
    <message>
        <source>Event</source>
        <translation>Évts</translation>
    </message>
    <message>
        <source>scope : 0 - 2203,Please ReInput</source>
        <translation>Plage : 0 - 2203, veuillez ressaisir</translation>
    </message>
    <message>
        <source>SpO2       (10% per division)</source>
        <translation>SpO2       (10% par division)</translation>
    </message>
    <message>
        <source>Pulse Rate (20 BPM per division)</source>
        <translation>Fréquence de pouls (20 BPM par division)</translation>
    </message>
    <message>
        <source>Page:          </source>
        <translation>Page :         </translation>
    </message>
    <message>
        <source>Please input a num which is between 1 and</source>
        <translation>Veuillez saisir un nombre compris entre 1 et</translation>
    </message>
    <message>
        <source>Event Data</source>
        <translation>Données d&apos;événements</translation>
    </message>
    <message>
        <source>Total Events.</source>
        <translation>Total des événements.</translation>
    </message>
    <message>
        <source>Time In Events.(Sec)</source>
        <translation>Durée en événements.(s)</translation>
    </message>
    <message>
        <source>Avg.Event Dur.(Sec)</source>
        <translation>Durée moy. événement.(s)</translation>
    </message>
    <message>
        <source>Index.(1/hr)</source>
        <translation>Indice.(1/h)</translation>
    </message>
    <message>
        <source>Avg.Event Max.</source>
        <translation>Max. moy. événement.</translation>
    </message>
    <message>
        <source>Avg.Event Min.</source>
        <translation>Min. moy. événement.</translation>
    </message>
    <message>
        <source>Max.Event offset.</source>
        <translation>Chute max. d&apos;événement.</translation>
    </message>
    <message>
        <source>Max Time.Event.(Sec)</source>
        <translation>Durée max. événement.(s)</translation>
    </message>
    <message>
        <source>Max Dur.</source>
        <translation>Max.</translation>
    </message>
    <message>
        <source>Min Dur.</source>
        <translation>Min.</translation>
    </message>
    <message>
        <source>Avg Dur.</source>
        <translation>Moy.</translation>
    </message>
    <message>
        <source>Diagnose:</source>
        <translation>Diagnostic :</translation>
    </message>
    <message>
        <source>Please input a num between 40 and 100 !</source>
        <translation>Veuillez saisir un nombre entre 40 et 100 !</translation>
    </message>
    <message>
        <source>Please input a num between 15 and 300 !</source>
        <translation>Veuillez saisir un nombre entre 15 et 300 !</translation>
    </message>
    <message>
        <source>Please input a num between 1 and 20 !</source>
        <translation>Veuillez saisir un nombre entre 1 et 20 !</translation>
    </message>
    <message>
        <source>Error ! The SpO2 high value must large than low value !</source>
        <translation>Erreur ! La valeur haute de SpO2 doit être supérieure à la valeur basse !</translation>
    </message>
    <message>
        <source>Error ! The PR high value must large than low value !</source>
        <translation>Erreur ! La valeur haute du pouls doit être supérieure à la valeur basse !</translation>
    </message>
</context>
<context>
    <name>TrendView</name>
    <message>
        <source>Marked by hand</source>
        <translation>Marqué à la main</translation>
    </message>
    <message>
        <source>Mark as artefact</source>
        <translation>Marquer comme artefact</translation>
    </message>
    <message>
        <source>Clear artefact mark</source>
        <translation>Effacer la marque d&apos;artefact</translation>
    </message>
    <message>
        <source>Shaded: artefact</source>
        <translation>Zone grisée : artefact</translation>
    </message>
</context>
<context>
    <name>UnitSetupDialog</name>
    <message>
        <source>Unit setup</source>
        <translation>Unités de mesure</translation>
    </message>
    <message>
        <source>The &amp;Britain System</source>
        <translation>Système &amp;britannique</translation>
    </message>
    <message>
        <source>The &amp;Metric System</source>
        <translation>Système &amp;métrique</translation>
    </message>
</context>
</TS>
