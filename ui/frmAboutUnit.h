// The About window.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget* parent = nullptr);
    QLabel* lblAbout1;
    QLabel* lblAbout2;
    QLabel* lblAbout3;
    QPushButton* btnOK;
};
