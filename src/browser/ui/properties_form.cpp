#include "browser/ui/properties_form.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QMimeDatabase>
#include <QVBoxLayout>

#include "browser/cache_usage.h"
#include "browser/folder_listing.h"
#include "imaging/image_file.h"
#include "platform/error.h"
#include "platform/files.h"

namespace vistrel::browser::ui {
namespace fs = std::filesystem;

namespace {

const QString kComputing = QString::fromUtf8("Computing…");

QString text(const fs::path& path) { return QString::fromStdString(path.string()); }

QString sizeText(std::uint64_t bytes) {
  return QLocale().toString(qulonglong(bytes)) + " bytes (" + QString::fromStdString(browser::sizeText(bytes)) + ")";
}

QString dateText(platform::SystemTime (*read)(const fs::path&), const fs::path& file) {
  try {
    return QString::fromStdString(browser::fileDateText(read(file)));
  } catch (const Error&) {
    return {};
  }
}

// "rw-r--r-- (644)"
QString permissionsText(const fs::path& file) {
  std::error_code ec;
  const fs::perms perms = fs::status(file, ec).permissions();
  if (ec) return {};
  const char* letters = "rwx";
  QString result;
  for (int bit = 8; bit >= 0; --bit) {
    result += (unsigned(perms) >> bit) & 1U ? QChar(letters[(8 - bit) % 3]) : QChar('-');
  }
  return result + QString(" (%1)").arg(unsigned(perms) & 0777U, 3, 8, QChar('0'));
}

}  // namespace

TPropertiesForm::TPropertiesForm(QWidget* parent) : QDialog(parent) {
  setProperty("helpSection", "properties");
  auto* layout = new QVBoxLayout(this);
  // Never narrower than its longest value, which may arrive after the count.
  layout->setSizeConstraint(QLayout::SetMinimumSize);
  fields_ = new QFormLayout;
  layout->addLayout(fields_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
  layout->addWidget(buttons);
  buttons_ = buttons;
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

TPropertiesForm::~TPropertiesForm() { stopCount(); }

// A title bar also holds the icon and the window buttons: room for them
// beside the title, so that no window manager cuts it short.
void TPropertiesForm::setTitle(const QString& title) {
  setWindowTitle(title);
  buttons_->setMinimumWidth(fontMetrics().horizontalAdvance(title) + 200);
}

// Values are not wrapped: a path has no spaces to wrap at, and a wrapped
// label is given too little height. The dialog grows to the longest value.
void TPropertiesForm::addField(const QString& caption, const QString& value) {
  auto* label = new QLabel(value);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  fields_->addRow(caption, label);
  labels_.insert(caption, label);
}

QString TPropertiesForm::field(const QString& caption) const {
  const QLabel* label = labels_.value(caption);
  return label ? label->text() : QString();
}

void TPropertiesForm::showFile(const fs::path& file) {
  setTitle("File properties");
  addField("Name:", text(file.filename()));
  addField("Folder:", text(file.parent_path()));
  addField("Type:", QMimeDatabase().mimeTypeForFile(text(file)).comment());
  std::error_code ec;
  const std::uintmax_t size = fs::file_size(file, ec);
  addField("Size:", ec ? QString() : sizeText(size));
  addField("Modified:", dateText(&platform::lastWriteTime, file));
  addField("Accessed:", dateText(&platform::lastAccessTime, file));
  addField("Permissions:", permissionsText(file));
  try {
    // The header alone: a properties look must not decode a large picture.
    const imaging::ImageHeader header = imaging::ReadImageHeader(file);
    if (header.width <= 0) return;
    addField("Dimensions:", QString("%1 x %2 pixels").arg(header.width).arg(header.height));
    addField("Bit depth:", QString::number(header.bitsPerPixel));
  } catch (const Error&) {
    // Not a picture: no picture fields.
  }
}

void TPropertiesForm::showCacheFolder(const fs::path& root) {
  setTitle("Cache properties");
  addField("Folder:", text(root));
  for (const char* caption : {"Size:", "Files:", "Folders:"}) addField(caption, kComputing);
  counting_ = true;
  counter_ = std::thread([this, root] {
    const browser::CacheUsage usage = browser::cacheUsage(root, &stop_);
    if (stop_) return;
    QMetaObject::invokeMethod(
        this,
        [this, usage] {
          if (stop_) return;  // closed while the result was on its way
          labels_["Size:"]->setText(QLocale().formattedDataSize(qint64(usage.bytes)) + " (" +
                                    QLocale().toString(qulonglong(usage.bytes)) + " bytes)");
          labels_["Files:"]->setText(QLocale().toString(qulonglong(usage.files)));
          labels_["Folders:"]->setText(QLocale().toString(qulonglong(usage.folders)));
          counting_ = false;
          emit countFinished();
        },
        Qt::QueuedConnection);
  });
}

void TPropertiesForm::done(int result) {
  stopCount();
  QDialog::done(result);
}

void TPropertiesForm::stopCount() {
  stop_ = true;
  if (counter_.joinable()) counter_.join();
  counting_ = false;
}

}  // namespace vistrel::browser::ui
