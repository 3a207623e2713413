// SPDX-License-Identifier: GPL-3.0-or-later
#include "mapfiles/RecoveryFile.h"

#include "mapfiles/ProjectSchema.h"

#include <QDir>
#include <QFile>

namespace vmm {

namespace {
const QString &kPicturePathKey = project::kRecoveryPicturePathKey;
const QString &kProjectPathKey = project::kRecoveryProjectPathKey;
}  // namespace

QString RecoveryFile::path(const QString &dataFolder) {
  return QDir(dataFolder).filePath(QStringLiteral("Recovery.vmr"));
}

bool RecoveryFile::exists(const QString &dataFolder) {
  return QFile::exists(path(dataFolder));
}

FileWriteResult RecoveryFile::write(const QString &dataFolder, const RecoveryContent &content) {
  ProjectContent project = content.project;
  project.state.additional.insert(kPicturePathKey, content.picturePath);
  project.state.additional.insert(kProjectPathKey, content.projectPath);
  return writeProject(project, path(dataFolder));
}

std::optional<RecoveryContent> RecoveryFile::read(const QString &dataFolder, QString *error) {
  ProjectReadResult read = readProject(path(dataFolder));
  if (!read.ok()) {
    if (error) *error = read.messageText(path(dataFolder));
    return std::nullopt;
  }
  RecoveryContent content;
  content.project = std::move(*read.content);
  QMap<QString, QString> &additional = content.project.state.additional;
  content.picturePath = additional.take(kPicturePathKey);
  content.projectPath = additional.take(kProjectPathKey);
  return content;
}

void RecoveryFile::remove(const QString &dataFolder) {
  QFile::remove(path(dataFolder));
}

QString RecoveryFile::setAsidePath(const QString &dataFolder) {
  return path(dataFolder) + QStringLiteral(".bad");
}

bool RecoveryFile::setAside(const QString &dataFolder) {
  // Renamed, never copied: whatever stands there (a link to a device, a pipe) is only moved.
  QFile::remove(setAsidePath(dataFolder));
  return QDir(dataFolder).rename(path(dataFolder), setAsidePath(dataFolder));
}

}  // namespace vmm
