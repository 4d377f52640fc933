#include "ui/StepForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <algorithm>
#include <cstring>
#include <limits>

#include "names/StepFields.h"
#include "ui/QtText.h"

namespace morvane {
namespace {

struct Label {
    const char* key;
    const char* text;
};

// The fields' labels and the choices' names, by the keys of the presets file.
constexpr Label kLabels[] = {
    {"find", "検索する文字列 :"},
    {"template", "テンプレート :"},
    {"replacement", "置換後の文字列 :"},
    {"regex", "正規表現を使う"},
    {"case-sensitive", "大文字と小文字を区別する"},
    {"all", "すべて置換する (オフ: 最初の 1 件だけ)"},
    {"part", "対象 :"},
    {"text", "文字列 :"},
    {"position", "位置 (文字数) :"},
    {"from", "数える向き :"},
    {"count", "文字数 :"},
    {"edge", "数える向き :"},
    {"start", "開始番号 :"},
    {"step", "増分 :"},
    {"digits", "桁数 :"},
    {"per-folder", "フォルダごとに番号を振り直す"},
    {"place", "番号の位置 :"},
    {"separator", "区切り文字 :"},
    {"only-on-collision", "名前が重なるときだけ番号を付ける (_1, _2 …)"},
    {"instead-of-name", "名前の代わりにする"},
    {"case", "変換 :"},
    {"conversion", "変換 :"},
    {"source", "日時 :"},
    {"format", "書式 :"},
    {"action", "操作 :"},
    {"stem", "拡張子を除く名前"},
    {"extension", "拡張子"},
    {"whole", "名前全体"},
    {"end", "末尾から"},
    {"before", "名前の前"},
    {"after", "名前の後"},
    {"instead", "名前の代わり"},
    {"keep", "変更しない"},
    {"upper", "大文字"},
    {"lower", "小文字"},
    {"title", "単語の先頭を大文字"},
    {"ascii-to-half", "全角の英数字と記号を半角に"},
    {"ascii-to-full", "半角の英数字と記号を全角に"},
    {"katakana-to-full", "半角カタカナを全角に"},
    {"hiragana-to-katakana", "ひらがなをカタカナに"},
    {"katakana-to-hiragana", "カタカナをひらがなに"},
    {"nfc", "Unicode 正規化 (NFC)"},
    {"modified", "更新日時"},
    {"exif", "撮影日時 (EXIF、なければ更新日時)"},
    {"change", "変更する"},
    {"add", "追加する"},
    {"remove", "削除する"},
};

// "start" is both a number's key and an edge's name.
QString LabelOf(const char* key, bool choice = false) {
    if (choice && std::strcmp(key, "start") == 0)
        return QStringLiteral("先頭から");
    for (const Label& label : kLabels) {
        if (std::strcmp(label.key, key) == 0)
            return Qs(label.text);
    }
    return Qs(key);
}

class FormBuilder {
public:
    static constexpr int kMost = 1000000000;

    FormBuilder(QFormLayout* form, StepForm* owner, std::vector<QWidget*>& fields)
        : form_(form), owner_(owner), fields_(fields) {}

    void Text(const char* key, const std::string& value) {
        auto* edit = new QLineEdit(Qs(value));
        QObject::connect(edit, &QLineEdit::textChanged, owner_, &StepForm::changed);
        Add(key, edit);
        if (std::strcmp(key, "template") == 0) {
            auto* fields = new QLabel(QStringLiteral(
                "欄 : {name} 名前  {ext} 拡張子 (. を含む)  {folder} フォルダ名  {n} 番号\n"
                "{date} 日時  {date:%Y%m%d} 書式つき日時  {exif:Model} EXIF のタグ  {width} "
                "{height} {size} 画像の幅・高さ・幅x高さ\n"
                "{title} {artist} {album} {track:2} {disc} {year} 曲のタグ  {{ }} 波かっこ"));
            fields->setWordWrap(true);
            fields->setTextInteractionFlags(Qt::TextSelectableByMouse);
            form_->addRow(fields);
        }
    }
    void Flag(const char* key, bool value) {
        auto* box = new QCheckBox;
        box->setChecked(value);
        QObject::connect(box, &QCheckBox::toggled, owner_, &StepForm::changed);
        fields_.push_back(box);
        box->setText(Keyed(key));
        form_->addRow(box);
    }
    template <class N>
    void Number(const char* key, N value) {
        auto* spin = new QSpinBox;
        // Counts start at 1 or 0; only a numbering's start and step may be negative.
        const bool signedValue = std::strcmp(key, "start") == 0 || std::strcmp(key, "step") == 0;
        const int least = std::strcmp(key, "digits") == 0 ? 1 : signedValue ? -kMost : 0;
        spin->setRange(least, kMost);
        spin->setValue(static_cast<int>(std::clamp<long long>(value, least, kMost)));
        QObject::connect(spin, &QSpinBox::valueChanged, owner_, &StepForm::changed);
        Add(key, spin);
    }
    template <class E>
    void Choice(const char* key, E value, FieldNames<E> names) {
        auto* box = new QComboBox;
        for (const auto& [e, name] : names) {
            box->addItem(LabelOf(name, true));
            if (e == value)
                box->setCurrentIndex(box->count() - 1);
        }
        QObject::connect(box, &QComboBox::currentIndexChanged, owner_, &StepForm::changed);
        Add(key, box);
    }

private:
    void Add(const char* key, QWidget* field) {
        fields_.push_back(field);
        form_->addRow(Keyed(key), field);
    }
    // A form's fields take the access keys 1 to 9 in order: the dialog's buttons hold the
    // letters, and the labels are Japanese.
    QString Keyed(const char* key) const {
        const std::size_t number = fields_.size();
        if (number > 9)
            return LabelOf(key);
        return QStringLiteral("%1 (&%2)").arg(LabelOf(key)).arg(number);
    }
    QFormLayout* form_;
    StepForm* owner_;
    std::vector<QWidget*>& fields_;
};

class FormReader {
public:
    explicit FormReader(const std::vector<QWidget*>& fields) : fields_(fields) {}

    void Text(const char*, std::string& value) {
        value = Utf8(static_cast<QLineEdit*>(fields_[next_++])->text());
    }
    void Flag(const char*, bool& value) {
        value = static_cast<QCheckBox*>(fields_[next_++])->isChecked();
    }
    template <class N>
    void Number(const char*, N& value) {
        value = static_cast<N>(static_cast<QSpinBox*>(fields_[next_++])->value());
    }
    template <class E>
    void Choice(const char*, E& value, FieldNames<E> names) {
        const int index = static_cast<QComboBox*>(fields_[next_++])->currentIndex();
        value = std::data(names)[index < 0 ? 0 : index].first;
    }

private:
    const std::vector<QWidget*>& fields_;
    std::size_t next_ = 0;
};

}  // namespace

StepForm::StepForm(const NameStep& step, QWidget* parent) : QWidget(parent), step_(step) {
    auto* form = new QFormLayout(this);
    form->setContentsMargins(0, 0, 0, 0);
    FormBuilder builder(form, this, fields_);
    NameStep copy = step;
    std::visit([&](auto& s) { VisitFields(builder, s); }, copy);
}

NameStep StepForm::Step() const {
    NameStep step = step_;
    FormReader reader(fields_);
    std::visit([&](auto& s) { VisitFields(reader, s); }, step);
    return step;
}

namespace {

struct KindName {
    const char* label;
    char key;  // the access key in the 追加 menu
};
constexpr KindName kKindNames[] = {
    {"検索と置換", 'R'}, {"文字列の挿入", 'I'},   {"文字の削除", 'E'},
    {"連番", 'N'},       {"大文字と小文字", 'C'}, {"全角と半角・かな", 'W'},
    {"日付と時刻", 'T'}, {"拡張子", 'X'},         {"テンプレート", 'P'}};
static_assert(std::size(kKindNames) == std::variant_size_v<NameStep>);

}  // namespace

QString StepForm::KindLabel(std::size_t kind) {
    return Qs(kKindNames[kind].label);
}

QString StepForm::KindMenuText(std::size_t kind) {
    return QStringLiteral("%1 (&%2)").arg(KindLabel(kind)).arg(QChar(kKindNames[kind].key));
}

NameStep StepForm::NewStep(std::size_t kind) {
    NameStep step;
    [&]<std::size_t... I>(std::index_sequence<I...>) {
        ((I == kind ? (step = NameStep(std::in_place_index<I>), 0) : 0), ...);
    }
    (std::make_index_sequence<std::variant_size_v<NameStep>>());
    // A new step changes nothing until the user picks what it does.
    if (auto* c = std::get_if<CaseStep>(&step))
        c->kind = CaseKind::Keep;
    if (auto* w = std::get_if<WidthStep>(&step))
        w->kind = WidthKind::Keep;
    if (auto* e = std::get_if<ExtensionStep>(&step))
        e->action = ExtensionAction::Keep;
    return step;
}

}  // namespace morvane
