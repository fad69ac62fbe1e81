#pragma once

#include <QLibrary>
#include <QList>
#include <QObject>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <memory>
#include <random>

// Reorders a collection of objects (or plain values) by one property read by name, highest
// or lowest first. Keys are read once per element, then sorted with a randomised quicksort that
// carries the element positions along. Used to rank candidate subtitle files by score.
class clsQuickSort : public QObject
{
    Q_OBJECT

public:
    // Elements are QVariants: a QObject* (QVariant::fromValue) or a plain value. Each may carry
    // a key; keys are matched without regard to case and are unique.
    class Collection
    {
    public:
        // False (and nothing added) when the key is already taken.
        bool Add(const QVariant& element, const QString& key = {});
        qsizetype Count() const { return m_elements.size(); }
        // 0-based, unlike the keys' 1-based world: this is C++.
        const QVariant& At(qsizetype index) const { return m_elements[index]; }
        QString KeyAt(qsizetype index) const { return m_keys[index]; }
        QVariant ByKey(const QString& key) const;

    private:
        QList<QVariant> m_elements;
        QList<QString> m_keys;
    };

    // The external integer sorter: called with the first and last key, and the array of element
    // positions that belongs to the keys (same length); it sorts the keys ascending in place and
    // must apply every move it makes to the positions too. The fourth argument is always 0.
    using ExternalIntSort = void (*)(int32_t* firstKey, int32_t* lastKey, int32_t* positions,
                                     int32_t reserved);

    static const QString RetainKeysMessage;

    explicit clsQuickSort(QObject* parent = nullptr);
    ~clsQuickSort() override;

    // An empty property sorts by the elements' own values. With a parameter the property is
    // called as a one-argument invokable method of that name.
    void Quicksort(Collection& objects, const QString& property = {}, bool ascending = false,
                   bool retainKeys = false, const QVariant& propertyParam = {});

    bool DLLEnable(const QString& file, const QString& procName_4DwordParams);
    void DLLDisable();
    bool DLLIsEnabled() const { return m_external != nullptr; }

signals:
    // The RetainKeys failure; the window that owns the sorter shows it as an error box.
    void ErrorMessage(const QString& text);

private:
    enum class KeyKind { Integer, Float, String, Variant, None };
    enum class ParamKind { None, Int32, Boolean, Single, String, General };

    std::optional<QVariant> readKey(const QVariant& element) const;
    bool supportsProperty(const QVariant& element) const;
    static KeyKind KindOfKey(const QVariant& key);

    std::unique_ptr<QLibrary> m_library;
    ExternalIntSort m_external = nullptr;
    QString m_property;
    ParamKind m_paramKind = ParamKind::None;
    QVariant m_param;
    std::mt19937 m_random;
};
