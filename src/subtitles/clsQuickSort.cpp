#include "subtitles/clsQuickSort.h"

#include <QDateTime>
#include <QMetaMethod>

#include <cmath>
#include <vector>

namespace {

// The quicksort with a random pivot and a moving hole, over keys and the element positions that
// travel with them. Both walks stop on keys equal to the pivot, so equal keys are spread over
// both parts: a list of identical scores splits in halves instead of degrading to n squared.
// The larger part is handled by the loop, so the stack stays logarithmic.
template <typename Key, typename Less>
void SortRange(std::vector<Key>& keys, std::vector<int32_t>& positions, qsizetype lo,
               qsizetype hi, Less less, std::mt19937& random)
{
    while (lo < hi) {
        std::uniform_int_distribution<qsizetype> pick(lo, hi);
        const qsizetype p = pick(random);
        Key pivot = std::move(keys[p]);
        const int32_t pivotPos = positions[p];
        keys[p] = std::move(keys[lo]);
        positions[p] = positions[lo];
        qsizetype bottom = lo;   // the hole starts at the bottom
        qsizetype top = hi;
        for (;;) {
            while (top > bottom && less(pivot, keys[top]))
                --top;
            if (top == bottom)
                break;
            keys[bottom] = std::move(keys[top]);
            positions[bottom] = positions[top];
            ++bottom;             // the hole is now at the top
            while (bottom < top && less(keys[bottom], pivot))
                ++bottom;
            if (bottom == top)
                break;
            keys[top] = std::move(keys[bottom]);
            positions[top] = positions[bottom];
            --top;
        }
        keys[bottom] = std::move(pivot);
        positions[bottom] = pivotPos;
        if (bottom - lo < hi - bottom) {
            SortRange(keys, positions, lo, bottom - 1, less, random);
            lo = bottom + 1;
        } else {
            SortRange(keys, positions, bottom + 1, hi, less, random);
            hi = bottom - 1;
        }
    }
}

bool IsNumber(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Float:
    case QMetaType::Double:
    case QMetaType::Bool:
        return true;
    default:
        return false;
    }
}

// General values: numbers numerically, everything else as text without regard to case.
bool VariantLess(const QVariant& a, const QVariant& b)
{
    if (IsNumber(a) && IsNumber(b))
        return a.toDouble() < b.toDouble();
    if (IsNumber(a) != IsNumber(b) && a.isValid() && b.isValid())
        return IsNumber(a);       // numbers before text, as a consistent order
    return a.toString().compare(b.toString(), Qt::CaseInsensitive) < 0;
}

// Dates become whole numbers of the date value (days since 1899-12-30, the time of day as a
// fraction) times 10000, rounded half to even.
int32_t DateKey(const QVariant& v)
{
    static const QDate epoch(1899, 12, 30);
    double days = 0;
    if (v.typeId() == QMetaType::QDate) {
        days = double(epoch.daysTo(v.toDate()));
    } else {
        const QDateTime dt = v.toDateTime();
        days = double(epoch.daysTo(dt.date())) + dt.time().msecsSinceStartOfDay() / 86400000.0;
    }
    const double scaled = std::nearbyint(days * 10000.0);
    if (!(scaled >= INT32_MIN && scaled <= INT32_MAX))
        return 0;
    return int32_t(scaled);
}

int32_t IntegerKey(const QVariant& v)
{
    if (v.typeId() == QMetaType::QDate || v.typeId() == QMetaType::QDateTime)
        return DateKey(v);
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (!ok || !(std::nearbyint(d) >= INT32_MIN && std::nearbyint(d) <= INT32_MAX))
        return 0;
    return int32_t(std::nearbyint(d));
}

} // namespace

const QString clsQuickSort::RetainKeysMessage =
    QStringLiteral("QuickSort: Cannot do RetainKeys because object does not have Key property!");

bool clsQuickSort::Collection::Add(const QVariant& element, const QString& key)
{
    if (!key.isEmpty() && ByKey(key).isValid())
        return false;
    m_elements.append(element);
    m_keys.append(key);
    return true;
}

QVariant clsQuickSort::Collection::ByKey(const QString& key) const
{
    for (qsizetype i = 0; i < m_keys.size(); ++i) {
        if (!m_keys[i].isEmpty() && m_keys[i].compare(key, Qt::CaseInsensitive) == 0)
            return m_elements[i];
    }
    return QVariant();
}

clsQuickSort::clsQuickSort(QObject* parent) : QObject(parent), m_random(std::random_device{}()) {}

clsQuickSort::~clsQuickSort() { DLLDisable(); }

clsQuickSort::KeyKind clsQuickSort::KindOfKey(const QVariant& key)
{
    switch (key.typeId()) {
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::UChar:
    case QMetaType::QDate:
    case QMetaType::QDateTime:
        return KeyKind::Integer;
    case QMetaType::Float:
    case QMetaType::Double:
        return KeyKind::Float;
    case QMetaType::QString:
        return KeyKind::String;
    case QMetaType::UInt:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::QByteArray:
        return KeyKind::Variant;
    default:
        return KeyKind::None;     // Booleans, objects, empty: the order stays
    }
}

bool clsQuickSort::supportsProperty(const QVariant& element) const
{
    if (m_property.isEmpty())
        return true;
    QObject* object = element.value<QObject*>();
    if (!object)
        return false;
    const QByteArray name = m_property.toUtf8();
    const QMetaObject* meta = object->metaObject();
    if (m_paramKind == ParamKind::None)
        return meta->indexOfProperty(name.constData()) >= 0
               || object->dynamicPropertyNames().contains(name);
    for (int i = 0; i < meta->methodCount(); ++i) {
        const QMetaMethod m = meta->method(i);
        if (m.name() == name && m.parameterCount() == 1)
            return true;
    }
    return false;
}

std::optional<QVariant> clsQuickSort::readKey(const QVariant& element) const
{
    if (m_property.isEmpty())
        return element;
    QObject* object = element.value<QObject*>();
    if (!object || m_paramKind == ParamKind::General)
        return QVariant();
    const QByteArray name = m_property.toUtf8();
    if (m_paramKind == ParamKind::None) {
        const QVariant value = object->property(name.constData());
        return value.isValid() ? std::optional(value) : std::nullopt;
    }
    const QMetaObject* meta = object->metaObject();
    for (int i = 0; i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        if (method.name() != name || method.parameterCount() != 1
            || method.returnType() == QMetaType::Void)
            continue;
        QVariant argument = m_param;
        if (!argument.convert(method.parameterMetaType(0)))
            return std::nullopt;
        QVariant result(method.returnMetaType(), nullptr);
        const bool invoked = method.invoke(
            object, Qt::DirectConnection, QGenericReturnArgument(method.typeName(), result.data()),
            QGenericArgument(method.parameterMetaType(0).name(), argument.constData()));
        return invoked ? std::optional(result) : std::nullopt;
    }
    return std::nullopt;
}

void clsQuickSort::Quicksort(Collection& objects, const QString& property, bool ascending,
                             bool retainKeys, const QVariant& propertyParam)
{
    const qsizetype n = objects.Count();
    if (n == 0)
        return;
    m_property = property;
    m_paramKind = ParamKind::None;
    m_param = QVariant();
    if (!property.isEmpty() && propertyParam.isValid()) {
        switch (propertyParam.typeId()) {
        case QMetaType::Bool:
            m_paramKind = ParamKind::Boolean;
            m_param = propertyParam;
            break;
        case QMetaType::Float:
        case QMetaType::Double:
            m_paramKind = ParamKind::Single;
            m_param = QVariant(float(propertyParam.toDouble()));
            break;
        case QMetaType::QString:
            m_paramKind = ParamKind::String;
            m_param = propertyParam;
            break;
        case QMetaType::Int:
        case QMetaType::Short:
        case QMetaType::UChar:
            m_paramKind = ParamKind::Int32;
            m_param = QVariant(propertyParam.toInt());
            break;
        default:
            m_paramKind = ParamKind::General;
            m_param = propertyParam;
            break;
        }
    }

    if (!supportsProperty(objects.At(0)))
        return;
    const auto first = readKey(objects.At(0));
    const KeyKind kind = KindOfKey(first.value_or(QVariant()));

    std::vector<int32_t> positions(static_cast<size_t>(n));
    for (qsizetype i = 0; i < n; ++i)
        positions[size_t(i)] = int32_t(i);

    // Keys are read once per element, before sorting: n property calls, not n log n.
    switch (kind) {
    case KeyKind::Integer: {
        std::vector<int32_t> keys(static_cast<size_t>(n));
        for (qsizetype i = 0; i < n; ++i)
            keys[size_t(i)] = IntegerKey(readKey(objects.At(i)).value_or(QVariant()));
        if (m_external)
            m_external(keys.data(), keys.data() + n - 1, positions.data(), 0);
        else
            SortRange(keys, positions, 0, n - 1, std::less<int32_t>(), m_random);
        break;
    }
    case KeyKind::Float: {
        // Ratings are compared in single precision, so doubles equal to about seven digits tie.
        std::vector<float> keys(static_cast<size_t>(n));
        for (qsizetype i = 0; i < n; ++i)
            keys[size_t(i)] = float(readKey(objects.At(i)).value_or(QVariant()).toDouble());
        const auto less = [](float a, float b) {
            // A score that is not a number sorts below every number, and NaNs tie.
            if (std::isnan(a))
                return !std::isnan(b);
            return !std::isnan(b) && a < b;
        };
        SortRange(keys, positions, 0, n - 1, less, m_random);
        break;
    }
    case KeyKind::String: {
        std::vector<QString> keys(static_cast<size_t>(n));
        for (qsizetype i = 0; i < n; ++i)
            keys[size_t(i)] = readKey(objects.At(i)).value_or(QVariant()).toString();
        const auto less = [](const QString& a, const QString& b) {
            return a.compare(b, Qt::CaseInsensitive) < 0;
        };
        SortRange(keys, positions, 0, n - 1, less, m_random);
        break;
    }
    case KeyKind::Variant: {
        std::vector<QVariant> keys(static_cast<size_t>(n));
        for (qsizetype i = 0; i < n; ++i)
            keys[size_t(i)] = readKey(objects.At(i)).value_or(QVariant());
        SortRange(keys, positions, 0, n - 1, VariantLess, m_random);
        break;
    }
    case KeyKind::None:
        break;
    }

    bool keysUsable = true;
    if (retainKeys) {
        QObject* head = objects.At(0).value<QObject*>();
        if (!head || !head->property("Key").isValid()) {
            keysUsable = false;
            qWarning("%s", qPrintable(RetainKeysMessage));
            emit ErrorMessage(RetainKeysMessage);
        }
    }
    Collection sorted;
    for (qsizetype i = 0; i < n; ++i) {
        const int32_t pos = positions[size_t(ascending ? i : n - 1 - i)];
        const QVariant& element = objects.At(pos);
        QString key;
        if (retainKeys && keysUsable) {
            if (QObject* object = element.value<QObject*>())
                key = object->property("Key").toString();
        }
        // A duplicate key would drop the element; it is kept, without the key.
        if (!sorted.Add(element, key))
            sorted.Add(element);
    }
    objects = std::move(sorted);
}

bool clsQuickSort::DLLEnable(const QString& file, const QString& procName_4DwordParams)
{
    DLLDisable();
    auto library = std::make_unique<QLibrary>(file);
    if (!library->load())
        return false;
    const auto symbol = library->resolve(procName_4DwordParams.toUtf8().constData());
    if (!symbol) {
        library->unload();
        return false;
    }
    m_external = reinterpret_cast<ExternalIntSort>(symbol);
    m_library = std::move(library);
    return true;
}

void clsQuickSort::DLLDisable()
{
    m_external = nullptr;
    if (m_library) {
        m_library->unload();
        m_library.reset();
    }
}
