#include "frmAboutUnit.h"

#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

TfrmAbout::TfrmAbout(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName("frmAbout");
    setWindowTitle("About");
    auto* layout = new QVBoxLayout(this);
    lblAbout1 = new QLabel("Kordo Pregame Editor v. " KORDO_VERSION, this);
    lblAbout1->setObjectName("lblAbout1");
    lblAbout2 = new QLabel("Written by the Kordo Pregame Editor developers", this);
    lblAbout2->setObjectName("lblAbout2");
    lblAbout3 = new QLabel("<a href=\"https://kordo-pregame-editor.invalid/\">Project home page</a>", this);
    lblAbout3->setObjectName("lblAbout3");
    lblAbout3->setCursor(Qt::PointingHandCursor);
    lblAbout3->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    // The link is opened by the desktop's default browser.
    connect(lblAbout3, &QLabel::linkActivated, this,
            [](const QString& link) { QDesktopServices::openUrl(QUrl(link)); });
    for (QLabel* label : {lblAbout1, lblAbout2, lblAbout3}) {
        label->setAlignment(Qt::AlignCenter);
        layout->addWidget(label);
    }
    btnOK = new QPushButton("OK", this);
    btnOK->setObjectName("btnOK");
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(btnOK, 0, Qt::AlignHCenter);
    setMinimumSize(193, 95);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
