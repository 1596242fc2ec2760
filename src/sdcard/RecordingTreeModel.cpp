#include "sdcard/RecordingTreeModel.h"

RecordingTreeModel::RecordingTreeModel(std::shared_ptr<RecordingTree> tree, QObject* parent)
    : QAbstractItemModel(parent)
    , m_tree(std::move(tree))
{
}

void RecordingTreeModel::setImageList(const QList<QPixmap>* images)
{
    m_images = images;
    m_icons.clear();
}

void RecordingTreeModel::setImages(int item, int normal, int selected)
{
    m_itemImages[item] = {normal, selected};
}

void RecordingTreeModel::publish()
{
    beginResetModel();
    m_published = true;
    endResetModel();
}

int RecordingTreeModel::itemOf(const QModelIndex& index) const
{
    return index.isValid() ? static_cast<int>(index.internalId()) : RecordingTree::kNone;
}

QModelIndex RecordingTreeModel::indexOf(int item) const
{
    return item == RecordingTree::kNone ? QModelIndex() : createIndex(m_tree->row(item), 0, quintptr(item));
}

QModelIndex RecordingTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    if (column != 0 || row < 0 || row >= rowCount(parent))
        return {};
    return createIndex(row, 0, quintptr(m_tree->child(itemOf(parent), row)));
}

QModelIndex RecordingTreeModel::parent(const QModelIndex& index) const
{
    return index.isValid() ? indexOf(m_tree->parent(itemOf(index))) : QModelIndex();
}

int RecordingTreeModel::rowCount(const QModelIndex& parent) const
{
    if (!m_published || parent.column() > 0)
        return 0;
    return m_tree->childCount(itemOf(parent));
}

int RecordingTreeModel::columnCount(const QModelIndex&) const
{
    return 1;
}

QIcon RecordingTreeModel::icon(int item) const
{
    const auto found = m_itemImages.find(item);
    const std::pair<int, int> images = found == m_itemImages.end() ? std::pair(0, 0) : found->second;
    QIcon& icon = m_icons[images];
    if (icon.isNull()) {
        icon.addPixmap(m_images->value(images.first), QIcon::Normal);
        icon.addPixmap(m_images->value(images.second), QIcon::Selected);
    }
    return icon;
}

QVariant RecordingTreeModel::data(const QModelIndex& index, int role) const
{
    const int item = itemOf(index);
    if (item == RecordingTree::kNone)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return m_tree->text(item);
    case Qt::CheckStateRole:
        return m_tree->isTicked(item) ? Qt::Checked : Qt::Unchecked;
    case Qt::DecorationRole:
        return m_images ? QVariant(icon(item)) : QVariant();
    default:
        return {};
    }
}

bool RecordingTreeModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    const int item = itemOf(index);
    if (item == RecordingTree::kNone || role != Qt::CheckStateRole)
        return false;
    m_tree->setTicked(item, value.toInt() == Qt::Checked);
    emit dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

Qt::ItemFlags RecordingTreeModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable : Qt::NoItemFlags;
}
