// SettingsPageBuilder builds the page "Impostazioni" (tsImpostazioni): the
// up-downs with their edit boxes, ranges and defaults
//
//   udResi / tbResi          "Tasca Resi"          1..100  24
//   udFirst / tbFirstPkt     "Prima tasca utile"   1..100   3
//   udLast / tbLastPkt       "Ultima tasca utile"  1..64   22
//   udDistinta / tbPktxDist  "Ogni distinta"       1..10    1
//   udDefStamp / tbDefStamp  "Timbro default"      0..9     2  (disabled)
//   udReDom / tbReDom        "Ridomiciliati"       1..100   2
//
// the check boxes chkTest, chkStdFile (hidden, checked) and chkCopyPath,
// the panel pnlCopyPath (hidden while chkCopyPath is unchecked) with the
// copy folder tbCopyPath and its button spbCopyPath ("Sfoglia"), the
// buttons sptOptLoad ("Richiama") and spbOptSave ("Salva"), and the hidden
// panel pnlErrors with its grid DBGrid3.
#pragma once

class QWidget;

class SettingsPageBuilder {
public:
    static QWidget* build(QWidget* parent);
};
