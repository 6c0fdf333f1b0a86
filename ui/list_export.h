#pragma once

#include <QList>

class QWidget;

namespace kestrelink {

class DeviceList;

// Export List: the rows of list at positions rows, in that order, as the command-line program
// writes a device list in CSV, to a file the user chooses. The rows are taken when the action
// starts, so devices coming and going while the file dialog is up change nothing. The file is
// replaced whole or not at all; when writing fails, owner shows why and an earlier file stays.
void ExportDeviceList(QWidget* owner, const DeviceList& list, const QList<int>& rows);

}  // namespace kestrelink
