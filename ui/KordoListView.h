// The virtual list of the editors: a list view over the rows of a search object. Only the rows on
// screen are asked for their text, so a quarter of a million rows cost nothing until painted.
#pragma once

#include <QAbstractListModel>
#include <QElapsedTimer>
#include <QListView>
#include <functional>

class TKordoSearch;

class TKordoListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit TKordoListModel(QObject* parent = nullptr) : QAbstractListModel(parent) {}
    // Binds the search whose rows are shown (nullptr: none). Not owned.
    void SetSearch(TKordoSearch* search);
    TKordoSearch* Search() const { return Bound; }
    // Runs an operation that changes the rows, telling the view before and after.
    void Change(const std::function<void(TKordoSearch&)>& operation);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    TKordoSearch* Bound = nullptr;
};

class TKordoListView : public QListView {
    Q_OBJECT
public:
    explicit TKordoListView(QWidget* parent = nullptr);
    TKordoListModel* ListModel() const { return Model; }
    // The focused row, or -1.
    int FocusedRow() const;
    // Focuses and selects a row (-1: none).
    void FocusRow(int row);
    // Type-ahead: the typed text moves the focus to the first row that begins with it.
    void keyboardSearch(const QString& text) override;

signals:
    // The focused row changed (-1: none).
    void FocusChanged(int row);

private:
    TKordoListModel* Model;
    QString Typed;
    QElapsedTimer SinceTyped;
};
