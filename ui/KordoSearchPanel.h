// The left panel of both editors: a search box, the "Search" button, the virtual list and the
// one-panel status bar with the number of records found.
#pragma once

#include <QWidget>
#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class TKordoListView;
class TKordoSearch;

class TKordoSearchPanel : public QWidget {
    Q_OBJECT
public:
    // foundText follows the count in the status bar (" People Found", " Club Found").
    TKordoSearchPanel(const QString& listName, const QString& foundText, QWidget* parent);
    ~TKordoSearchPanel() override;
    // Takes the search over (nullptr: none); the list starts empty.
    void Bind(std::unique_ptr<TKordoSearch> search);
    TKordoSearch* Search() const { return Bound.get(); }

    // Search for the box's text, or list everything when it is empty, with a progress window.
    void btnSearchClick();

    QLineEdit* edSearch;
    QPushButton* btnSearch;
    TKordoListView* List;
    QLabel* sbarSearchResult;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString FoundText;
    std::unique_ptr<TKordoSearch> Bound;
};
