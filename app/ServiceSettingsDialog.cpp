#include "ServiceSettingsDialog.h"

#include "Endpoints.h"
#include "RoadOutcome.h"
#include "Roads.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QStatusBar>
#include <QThread>
#include <QVBoxLayout>

#include <algorithm>
#include <tuple>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

struct RoadLabel
{
    QStringView id;
    QStringView name;
    QStringView keyIdName; // empty: the key is one piece
};

constexpr Road KeyedRoads[] = {Road::DeepL, Road::GoogleCloud, Road::Baidu, Road::YoudaoApi};

constexpr RoadLabel Labels[] = {
    {u"deepl", u"DeepL", {}},
    {u"google-cloud", u"Google Cloud", {}},
    {u"baidu", u"百度通用翻译", u"APP ID"},
    {u"youdao-api", u"有道智云", u"应用ID"},
};

template<typename Control> Control *named(Control *control, const QString &name)
{
    control->setAccessibleName(name);
    return control;
}

} // namespace

ServiceSettingsDialog::ServiceSettingsDialog(ServiceStore store, QWidget *parent)
    : QDialog(parent)
    , m_store(std::move(store))
{
    setWindowTitle(u"翻译服务设置"_s);
    auto *grid = new QGridLayout;
    const QStringView headers[] = {u"使用", u"服务", u"应用ID", u"密钥", u"主机", u"顺序", u"检查"};
    for (int column = 0; column < int(std::size(headers)); ++column)
        grid->addWidget(new QLabel(headers[column].toString(), this), 0, column);
    for (const RoadLabel &label : Labels) {
        const QString name = label.name.toString();
        Row row{label.id.toString()};
        row.used = named(new QCheckBox(this), name + u" 使用"_s);
        if (!label.keyIdName.isEmpty())
            row.keyId = named(new QLineEdit(this), name + u' ' + label.keyIdName);
        row.secret = named(new QLineEdit(this), name + u" 密钥"_s);
        row.secret->setEchoMode(QLineEdit::Password);
        row.host = named(new QLineEdit(this), name + u" 主机"_s);
        auto *place = named(new QSpinBox(this), name + u" 顺序"_s);
        m_places.append({{row.id}, place});
        row.checked = named(new QLabel(this), name + u" 检查结果"_s);
        const int line = int(m_rows.size()) + 1;
        grid->addWidget(row.used, line, 0);
        grid->addWidget(new QLabel(name, this), line, 1);
        if (row.keyId)
            grid->addWidget(row.keyId, line, 2);
        grid->addWidget(row.secret, line, 3);
        grid->addWidget(row.host, line, 4);
        grid->addWidget(place, line, 5);
        grid->addWidget(row.checked, line, 6);
        m_rows.append(row);
    }
    // The engine's own road has a place too: a keyed road put before it is asked first.
    auto *ownPlace = named(new QSpinBox(this), u"所选引擎 顺序"_s);
    m_places.append({{RoadId(Road::GoogleShort), RoadId(Road::GoogleLong), RoadId(Road::Youdao)},
                     ownPlace,
                     0,
                     true});
    const int ownLine = int(m_rows.size()) + 1;
    grid->addWidget(new QLabel(u"所选引擎（Google 或有道）"_s, this), ownLine, 1, 1, 4);
    grid->addWidget(ownPlace, ownLine, 5);
    for (const Place &place : std::as_const(m_places))
        place.place->setRange(1, int(m_places.size()));
    // The environment's BREMO_VOICE wins over this choice, as its keys do over the ones here.
    m_voice = named(new QComboBox(this), u"语音"_s);
    m_voice->addItems({u"网络语音优先"_s, u"仅离线语音"_s});
    auto *voiceRow = new QFormLayout;
    voiceRow->addRow(u"语音"_s, m_voice);
    m_notice = named(new QLabel(this), u"提示"_s);
    m_notice->setWordWrap(true);
    m_keysInFile =
        named(new QCheckBox(u"把密钥保存在只有您能读取的文件中"_s, this), u"密钥保存在文件中"_s);
    auto *buttons = new QDialogButtonBox(this);
    named(buttons->addButton(u"保存"_s, QDialogButtonBox::AcceptRole), u"保存"_s);
    named(buttons->addButton(u"取消"_s, QDialogButtonBox::RejectRole), u"取消"_s);
    QPushButton *check =
        named(buttons->addButton(u"检查"_s, QDialogButtonBox::ActionRole), u"检查"_s);
    connect(check, &QPushButton::clicked, this, &ServiceSettingsDialog::check);
    connect(buttons, &QDialogButtonBox::accepted, this, &ServiceSettingsDialog::save);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(voiceRow);
    layout->addWidget(m_notice);
    layout->addWidget(m_keysInFile);
    layout->addWidget(buttons);
    load();
}

void ServiceSettingsDialog::load()
{
    const StoreResult result = m_store.load(m_loaded);
    // A line's place is its rank in the saved order. Keyed roads the order leaves out come
    // after the ones it names; the engine's own road, left out, keeps the first place.
    QList<qsizetype> ranks;
    for (qsizetype index = 0; index < m_places.size(); ++index) {
        const Place &place = m_places[index];
        qsizetype rank = place.enginesOwn ? -1 : m_loaded.order.size() + index;
        const auto found =
            std::find_if(m_loaded.order.begin(), m_loaded.order.end(),
                         [&place](const QString &id) { return place.ids.contains(id); });
        if (found != m_loaded.order.end())
            rank = found - m_loaded.order.begin();
        ranks.append(rank);
    }
    for (qsizetype index = 0; index < m_places.size(); ++index) {
        Place &place = m_places[index];
        const qsizetype rank = ranks[index];
        place.place->setValue(int(std::count_if(ranks.begin(), ranks.end(),
                                                [rank](qsizetype r) { return r < rank; })) +
                              1);
        place.loadedPlace = place.place->value();
    }
    for (Row &row : m_rows) {
        const KeyedService &service = *m_loaded.find(row.id);
        row.used->setChecked(service.used);
        if (row.keyId)
            row.keyId->setText(service.key.id);
        row.secret->setText(service.key.secret);
        row.host->setText(service.host);
        row.host->setPlaceholderText(HostOf({service.id, service.key, {}, true}));
    }
    m_voice->setCurrentIndex(m_loaded.voice == VoiceChoice::Offline ? 1 : 0);
    m_keysInFile->setChecked(m_loaded.keysInFile);
    m_keysInFile->setVisible(m_loaded.keysInFile || result.outcome == StoreOutcome::NoKeyring);
    m_notice->setText(result.outcome == StoreOutcome::NoKeyring && !m_loaded.keysInFile
                          ? u"没有密钥环应答：保存的密钥无法读出。"_s
                          : QString());
}

ServiceSettings ServiceSettingsDialog::entered(QString &badHost) const
{
    ServiceSettings settings = m_loaded;
    for (const Row &row : m_rows) {
        KeyedService &service = *settings.find(row.id);
        service.used = row.used->isChecked();
        service.key = {row.keyId ? row.keyId->text().trimmed() : QString(),
                       row.secret->text().trimmed()};
        const QString host = row.host->text().trimmed();
        const std::optional<QString> base = host.isEmpty() ? QString() : WebBase(host);
        if (!base && badHost.isEmpty())
            badHost = row.host->accessibleName();
        service.host = base.value_or(QString());
    }
    // A road moved to a place goes before the one that was there.
    QList<std::tuple<int, bool, QStringList>> places;
    for (const Place &place : m_places)
        places.append({place.place->value(), place.place->value() == place.loadedPlace, place.ids});
    std::stable_sort(places.begin(), places.end(), [](const auto &a, const auto &b) {
        return std::tie(std::get<0>(a), std::get<1>(a)) < std::tie(std::get<0>(b), std::get<1>(b));
    });
    // The dialog's lines first, in the places given; the other roads as they were after them.
    QStringList order;
    for (const auto &[place, kept, ids] : places)
        order.append(ids);
    for (const QString &id : std::as_const(settings.order)) {
        if (!order.contains(id))
            order.append(id);
    }
    // An order left as it was shown stays unsaved: the built-in one asks each engine's own
    // official API first, which no single saved order can do for both engines.
    const bool moved = std::any_of(m_places.begin(), m_places.end(), [](const Place &place) {
        return place.place->value() != place.loadedPlace;
    });
    if (moved)
        settings.order = order;
    settings.keysInFile = m_keysInFile->isChecked();
    settings.voice = m_voice->currentIndex() == 1 ? VoiceChoice::Offline : VoiceChoice::Web;
    return settings;
}

void ServiceSettingsDialog::save()
{
    QString badHost;
    const ServiceSettings settings = entered(badHost);
    if (!badHost.isEmpty()) {
        m_notice->setText(badHost + u"不是 http 或 https 地址。"_s);
        return;
    }
    // The keyring is waited for in a local event loop: no second save may start meanwhile.
    setEnabled(false);
    const StoreOutcome outcome = m_store.save(settings).outcome;
    setEnabled(true);
    switch (outcome) {
    case StoreOutcome::Done:
        accept();
        return;
    case StoreOutcome::NoKeyring:
        m_notice->setText(u"没有密钥环应答，密钥未保存。可以把密钥保存在只有您能读取的文件中。"_s);
        m_keysInFile->setVisible(true);
        return;
    case StoreOutcome::Failed:
        m_notice->setText(u"设置未能保存。"_s);
        return;
    }
}

void ServiceSettingsDialog::check()
{
    QString badHost;
    RoadsSetup setup;
    setup.services = entered(badHost);
    if (!badHost.isEmpty()) {
        m_notice->setText(badHost + u"不是 http 或 https 地址。"_s);
        return;
    }
    // As bremo --check asks: a budget of its own for each road, all at once.
    setup.http.timeout = 10s;
    setup.http.deadline = 12s;
    for (const Row &row : std::as_const(m_rows)) {
        if (!IsConfigured(*setup.services.find(row.id))) {
            row.checked->setText(u"未设置密钥"_s);
            continue;
        }
        row.checked->setText(u"…"_s);
        const Road road = *std::find_if(std::begin(KeyedRoads), std::end(KeyedRoads),
                                        [&row](Road r) { return RoadId(r) == row.id; });
        // A road waits in an event loop of its own: each on a thread that outlives the dialog
        // if it must, its answer then dropped with the label.
        QThread *thread = QThread::create([road, setup, label = QPointer<QLabel>(row.checked)] {
            const RoadAttempt attempt = AskRoad(road, {u"你好"_s, Engine::Google, 0, 1, {}}, setup);
            const QString words =
                attempt.failure == Failure::None ? u"ok"_s : OutcomeWords(attempt);
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [label, words] {
                    if (label)
                        label->setText(words);
                },
                Qt::QueuedConnection);
        });
        connect(thread, &QThread::finished, thread, &QObject::deleteLater);
        thread->start();
    }
}

void OpenServiceSettings(QWidget *window, const ServiceStore &store)
{
    if (auto *open = window->findChild<ServiceSettingsDialog *>()) {
        open->raise();
        open->activateWindow();
        return;
    }
    auto *dialog = new ServiceSettingsDialog(store, window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

void AttachServiceSettings(QWidget *window, QStatusBar *statusLine, const ServiceStore &store)
{
    const auto open = [window, store] {
        OpenServiceSettings(window, store);
    };
    auto *shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma), window);
    QObject::connect(shortcut, &QShortcut::activated, window, open);
    statusLine->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(statusLine, &QWidget::customContextMenuRequested, window, open);
}
