#pragma once

#include <QString>
#include <QStringList>

struct JobSettings;

// The lines of PicURL.htm for the run's upload links, without line ends.
// Captions are taken by link position, as the link page always did.
QStringList linkPageLines(const JobSettings &job, const QStringList &uploadLinks);

// Writes PicURL.htm into sOutDir; one error line when it could not be written.
QStringList writeLinkPage(const JobSettings &job, const QStringList &uploadLinks);

// Writes PicURL.htm into sOutDir and appends the links to picUpload.dat in
// userDir. Both files are replaced atomically, so a failure leaves the previous
// versions whole. Returns one error line per file that could not be written.
QStringList funCreateHtm(const JobSettings &job, const QStringList &uploadLinks, const QString &userDir);
