#ifndef QUENVALE_FRAMEWORK_UPDATEOFFER_H
#define QUENVALE_FRAMEWORK_UPDATEOFFER_H

#include <string>
#include <vector>

#include "framework/core/XmlPath.h"

// One file of an offered update (an url element of update\files).
struct S_UpdateFileEntry {
    std::string strUrl;     // the element's text
    std::string strName;    // its value "name": the file's name in the program folder
    std::string strZip;     // its value "zip": an archive to unpack into the program folder
};

// What the update service's reply offers (see docs/update-service.md).
struct S_UpdateOffer {
    std::string strApplication;   // update\application: caption of the questions
    std::string strInfo;          // update\info\LL, else update\info\en
    std::string strHelp;          // update\help
    std::string strVersion;       // update\version, "%u.%u"
    std::vector<S_UpdateFileEntry> vFiles;
    std::string strExecute;       // update\files\execute
    bool bRestart = false;        // update\restart\LL or \en exists; else no restart
    std::string strRestart;       // its text; empty: restart without asking
};

// Reads the offer below root (the document, or the inventory form's
// Ashwend\Updates\xml). strLanguage: two letters. False when the reply has
// no info text in that language or in English, or no version.
bool ReadUpdateOffer(const I_XmlElement& root, const std::string& strLanguage, S_UpdateOffer& offer);

#endif
