#include "platform/qt/QtImageList.h"

#include <QDir>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QPainter>
#include <QPainterPath>
#include <QStandardPaths>
#include <algorithm>
#include <string_view>

namespace orbel::platform {

namespace {

enum class Shape { Folder, Document, Other };

// What a cell of a known strip shows: a theme icon, the shape drawn when the theme has none,
// and whether the entry is marked (the host marks folders; an emblem says so).
struct Cell {
    const char* theme;
    Shape shape;
    bool marked;
};

// The tree's strip: folder, document, class folder, their marked forms, then the open ones.
constexpr Cell kTreeCells[] = {
    {"folder", Shape::Folder, false},           {"text-x-generic", Shape::Document, false},
    {"folder-templates", Shape::Folder, false}, {"folder", Shape::Folder, true},
    {"folder-templates", Shape::Folder, true},  {"folder-open", Shape::Folder, true},
    {"folder-templates", Shape::Folder, true},  {"folder-open", Shape::Folder, false},
    {"folder-templates", Shape::Folder, false},
};
// The list's large strip: folder, item, class folder.
constexpr Cell kListCells[] = {
    {"folder", Shape::Folder, false},
    {"text-x-generic", Shape::Document, false},
    {"folder-templates", Shape::Folder, false},
};

std::optional<Cell> CellOf(std::string_view strip, int cell) {
    auto pick = [cell](const auto& cells) -> std::optional<Cell> {
        if (cell < 0 || static_cast<std::size_t>(cell) >= std::size(cells)) return std::nullopt;
        return cells[static_cast<std::size_t>(cell)];
    };
    if (strip == "tree") return pick(kTreeCells);
    if (strip == "list") return pick(kListCells);
    return std::nullopt;
}

// A plain drawing of the shape, for a theme without the icon.
QPixmap DrawShape(Shape shape, QSize size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width();
    const qreal h = size.height();
    const qreal side = std::min(w, h);
    const QRectF box((w - side) / 2 + 1, (h - side) / 2 + 1, side - 2, side - 2);
    switch (shape) {
        case Shape::Folder: {
            p.setPen(QColor(150, 110, 20));
            p.setBrush(QColor(235, 190, 80));
            QPainterPath path;
            const qreal tab = box.height() * 0.2;
            path.moveTo(box.left(), box.top() + tab);
            path.lineTo(box.left() + box.width() * 0.4, box.top() + tab);
            path.lineTo(box.left() + box.width() * 0.5, box.top() + 2 * tab);
            path.lineTo(box.right(), box.top() + 2 * tab);
            path.lineTo(box.right(), box.bottom() - tab * 0.5);
            path.lineTo(box.left(), box.bottom() - tab * 0.5);
            path.closeSubpath();
            p.drawPath(path);
            break;
        }
        case Shape::Document: {
            p.setPen(QColor(110, 110, 110));
            p.setBrush(Qt::white);
            const QRectF page = box.adjusted(box.width() * 0.15, 0, -box.width() * 0.15, 0);
            p.drawRect(page);
            p.setPen(QColor(170, 170, 170));
            for (int line = 1; line <= 3; ++line) {
                const qreal y = page.top() + page.height() * line / 4.5;
                p.drawLine(QPointF(page.left() + 2, y), QPointF(page.right() - 2, y));
            }
            break;
        }
        case Shape::Other:
            p.setPen(QColor(110, 110, 110));
            p.setBrush(QColor(210, 210, 210));
            p.drawRoundedRect(box, side / 6, side / 6);
            break;
    }
    return pixmap;
}

QIcon ThemeIconOr(const char* name, Shape shape, QSize size) {
    EnsureIconTheme();
    QIcon icon = QIcon::fromTheme(QString::fromUtf8(name));
    return icon.isNull() ? QIcon(DrawShape(shape, size)) : icon;
}

// The icon with the mark in its lower right corner.
QIcon Marked(const QIcon& icon, QSize size) {
    QPixmap pixmap = icon.pixmap(size);
    if (pixmap.isNull()) return icon;
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const int side = std::max(4, std::min(size.width(), size.height()) / 2);
    const QRect corner(size.width() - side, size.height() - side, side, side);
    QIcon emblem = QIcon::fromTheme(QStringLiteral("emblem-default"));
    if (!emblem.isNull()) {
        emblem.paint(&p, corner);
    } else {
        p.setPen(QColor(20, 100, 20));
        p.setBrush(QColor(60, 170, 60));
        p.drawEllipse(corner.adjusted(0, 0, -1, -1));
    }
    return QIcon(pixmap);
}

QIcon CellIcon(const std::string& strip, int cell, QSize size) {
    const std::optional<Cell> known = CellOf(strip, cell);
    if (!known) return QIcon(DrawShape(Shape::Other, size));
    QIcon icon = ThemeIconOr(known->theme, known->shape, size);
    return known->marked ? Marked(icon, size) : icon;
}

bool AllDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

void EnsureIconTheme() {
    static bool done = false;
    if (done) return;
    done = true;
    // A desktop session names a theme that has pictures; without one Qt looks in its own
    // resources only, or names a bare fallback theme (X11 without a desktop): add the system's
    // icon folders and take the first common theme found there.
    if (!QIcon::themeName().isEmpty() && QIcon::hasThemeIcon(QStringLiteral("folder"))) return;
    QStringList paths = QIcon::themeSearchPaths();
    for (const QString& dir :
         QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("icons"),
                                   QStandardPaths::LocateDirectory))
        if (!paths.contains(dir)) paths << dir;
    QIcon::setThemeSearchPaths(paths);
    for (const char* theme : {"Adwaita", "breeze", "oxygen", "hicolor"}) {
        for (const QString& dir : paths) {
            if (QFileInfo::exists(dir + QLatin1Char('/') + QLatin1String(theme) +
                                  QStringLiteral("/index.theme"))) {
                QIcon::setThemeName(QLatin1String(theme));
                return;
            }
        }
    }
}

QIcon IconFromName(const std::string& name, QSize size) {
    if (name.empty()) return QIcon();
    std::string file = name;
    if (const auto comma = name.rfind(',');
        comma != std::string::npos && AllDigits(std::string_view(name).substr(comma + 1)))
        file = name.substr(0, comma);
    const QFileInfo info(QString::fromStdString(file));
    if (QDir::isAbsolutePath(info.filePath()) && info.exists()) {
        const QIcon icon = QFileIconProvider().icon(info);
        if (!icon.isNull()) return icon;
    }
    return ThemeIconOr(file.c_str(), Shape::Document, size);
}

QtImageList::QtImageList(const std::string& strip, int width, int height, int cells)
    : NamedImageList(strip, width, height, cells) {
    const QSize size(std::max(1, width), std::max(1, height));
    for (int i = 0; i < cells; ++i) icons_.push_back(CellIcon(strip, i, size));
}

QtImageList::QtImageList(const std::string& strip, const QPixmap& picture)
    : NamedImageList(strip, picture.width(), picture.height(), 1), icons_{QIcon(picture)} {}

void QtImageList::PutIcon(std::size_t index, const Icon& icon) {
    QIcon picture = IconFromName(icon.name, Size());
    if (index == icons_.size())
        icons_.push_back(std::move(picture));
    else
        icons_[index] = std::move(picture);
}

QIcon QtImageList::IconAt(int index) const {
    if (index < 0 || index >= GetImageCount()) return QIcon();
    return icons_[static_cast<std::size_t>(index)];
}

const QtImageList* AsQtImageList(const ImageList* images) {
    return dynamic_cast<const QtImageList*>(images);
}

}  // namespace orbel::platform
