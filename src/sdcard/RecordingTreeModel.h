#pragma once
// The recordings tree as Qt's views see it: one column, a check box on every item, the tree's
// images. The model reads and writes the shared RecordingTree, so a tick is at once what the
// fetch worker sees.

#include "sdcard/RecordingTree.h"

#include <QAbstractItemModel>
#include <QIcon>
#include <QList>
#include <QPixmap>

#include <map>
#include <memory>

class RecordingTreeModel final : public QAbstractItemModel {
    Q_OBJECT
public:
    explicit RecordingTreeModel(std::shared_ptr<RecordingTree> tree, QObject* parent = nullptr);

    // The image list to draw from (not owned; null for none). Items show image 0 unless given others.
    void setImageList(const QList<QPixmap>* images);
    void setImages(int item, int normal, int selected);
    // Shows what the tree holds now. Until the first call the model is empty, so a view never sees
    // a tree that is still being filled.
    void publish();

    int itemOf(const QModelIndex& index) const;
    QModelIndex indexOf(int item) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& index) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    QIcon icon(int item) const;

    std::shared_ptr<RecordingTree> m_tree;
    const QList<QPixmap>* m_images = nullptr;
    std::map<int, std::pair<int, int>> m_itemImages;
    mutable std::map<std::pair<int, int>, QIcon> m_icons;
    bool m_published = false;
};
