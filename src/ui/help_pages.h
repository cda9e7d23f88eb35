#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class AppPaths;

// The help menu's entries after "关于Tuvo...". Each stands for one of the maker's
// web pages; while the project has no web site, an entry opens the document
// installed with the program instead. The addresses live here and nowhere else.
struct HelpPage {
    QString objectName;
    QString menuText;
    QString webAddress; // empty until the page exists; then it is opened instead
    QStringList documentNames; // the installed document, under any of these names
};

QList<HelpPage> helpPages();

// Where installed documents are looked for: the data folder's doc folder, the data
// folder itself, and the system's documentation folder beside it (share/doc/tuvo).
QStringList helpDocumentFolders(const AppPaths &paths);

// What the entry opens: its web address, else the first of its documents that
// exists; empty when there is neither, so that nothing is opened.
QString helpPageTarget(const HelpPage &page, const AppPaths &paths);
