#pragma once
// Small helpers the application's dialogs share.
#include <QString>

class QDialog;
class QDialogButtonBox;
class QLabel;
class QWidget;

/// An OK button (id 1), and a Cancel button (id 2) when withCancel, wired
/// to the dialog's accept and reject.
QDialogButtonBox* MakeDialogButtons(QDialog* dialog, bool withCancel, const QString& okText = {});
/// A label showing bitmap id from the program's pictures.
QLabel* MakePicture(unsigned bitmapId, QWidget* parent);
