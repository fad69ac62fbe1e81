#include "subtitles/clsQuickSort.h"

#include <QDate>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

class Rated : public QObject
{
    Q_OBJECT
    Q_PROPERTY(double Rating MEMBER rating)
    Q_PROPERTY(QString Key MEMBER key)

public:
    Rated(double r, QString k = {}) : rating(r), key(std::move(k)) {}
    Q_INVOKABLE int ScaledBy(int factor) const { return int(rating) * factor; }

    double rating;
    QString key;
};

using Collection = clsQuickSort::Collection;

Collection Values(const QVariantList& values)
{
    Collection c;
    for (const QVariant& v : values)
        c.Add(v);
    return c;
}

QVariantList Contents(const Collection& c)
{
    QVariantList out;
    for (qsizetype i = 0; i < c.Count(); ++i)
        out.append(c.At(i));
    return out;
}

Collection Objects(const std::vector<std::unique_ptr<Rated>>& items)
{
    Collection c;
    for (const auto& item : items)
        c.Add(QVariant::fromValue<QObject*>(item.get()), item->key);
    return c;
}

QList<double> Ratings(const Collection& c)
{
    QList<double> out;
    for (qsizetype i = 0; i < c.Count(); ++i)
        out.append(c.At(i).value<QObject*>()->property("Rating").toDouble());
    return out;
}

} // namespace

TEST(QuickSort, PlainValuesInBothDirectionsTiesInNoFixedOrder)
{
    clsQuickSort sorter;
    Collection empty;
    sorter.Quicksort(empty);
    EXPECT_EQ(empty.Count(), 0);
    Collection ints = Values({3, 1, 2});
    sorter.Quicksort(ints);                              // descending when left out
    EXPECT_EQ(Contents(ints), (QVariantList{3, 2, 1}));

    struct Case { QVariantList values; bool ascending; QVariantList sorted; };
    const Case cases[] = {
        {{3, 1, 2}, true, {1, 2, 3}},
        {{"b", "A", "c"}, true, {"A", "b", "c"}},
        {{"b", "A", "c"}, false, {"c", "b", "A"}},
        {{QDate(2001, 5, 1), QDate(1999, 1, 1), QDate(2000, 2, 29)}, true,
         {QDate(1999, 1, 1), QDate(2000, 2, 29), QDate(2001, 5, 1)}},
        {{true, false, true, false}, true, {true, false, true, false}},   // no order: as they were
    };
    for (const Case& c : cases) {
        Collection collection = Values(c.values);
        sorter.Quicksort(collection, {}, c.ascending);
        EXPECT_EQ(Contents(collection), c.sorted);
    }

    // Single-precision ties and case ties have no fixed order: each of the two comes first
    // now and then.
    for (const QVariantList& tie : {QVariantList{1.0, 1.0 + 1e-12}, QVariantList{"abc", "ABC"}}) {
        QStringList cameFirst;
        for (int round = 0; round < 64 && cameFirst.size() < 2; ++round) {
            Collection c = Values(tie);
            sorter.Quicksort(c, {}, true);
            if (!cameFirst.contains(c.At(0).toString()))
                cameFirst.append(c.At(0).toString());
        }
        EXPECT_EQ(cameFirst.size(), 2) << tie[1].toString().toStdString();
    }
}

TEST(QuickSort, ObjectsByPropertyOrMethodWithParameterAndTheirKeys)
{
    std::vector<std::unique_ptr<Rated>> items;
    for (double r : {0.5, 2.0, 1.1, 0.0, 1.0})
        items.push_back(std::make_unique<Rated>(r, QStringLiteral("item %1").arg(r)));
    clsQuickSort sorter;
    Collection c = Objects(items);
    sorter.Quicksort(c, QStringLiteral("Rating"));
    EXPECT_EQ(Ratings(c), (QList<double>{2.0, 1.1, 1.0, 0.5, 0.0}));
    EXPECT_EQ(c.KeyAt(0), QString());                    // keys dropped unless retained
    c = Objects(items);
    sorter.Quicksort(c, QStringLiteral("Rating"), false, true);
    EXPECT_EQ(c.KeyAt(0), QStringLiteral("item 2"));
    EXPECT_EQ(c.ByKey(QStringLiteral("ITEM 1.1")).value<QObject*>(), items[2].get());

    // ScaledBy(-1) is -rating: ascending by it puts the highest rating first.
    c = Objects(items);
    sorter.Quicksort(c, QStringLiteral("ScaledBy"), true, false, -1);
    EXPECT_EQ(Ratings(c).first(), 2.0);

    // A first element without the property leaves the collection as it was.
    c = Objects(items);
    sorter.Quicksort(c, QStringLiteral("NoSuchProperty"), true);
    EXPECT_EQ(Ratings(c), (QList<double>{0.5, 2.0, 1.1, 0.0, 1.0}));

    // Plain values have no Key property to retain: the sorter says so and sorts all the same.
    QSignalSpy message(&sorter, &clsQuickSort::ErrorMessage);
    Collection plain = Values({2, 1});
    sorter.Quicksort(plain, {}, true, true);
    ASSERT_EQ(message.count(), 1);
    EXPECT_EQ(message[0][0].toString(), clsQuickSort::RetainKeysMessage);
    EXPECT_EQ(Contents(plain), (QVariantList{1, 2}));
}

TEST(QuickSort, LargeInputsSortCorrectlyAndEqualKeysStayFast)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> pick(-1000, 1000);
    QVariantList values;
    for (int i = 0; i < 20000; ++i)
        values.append(pick(random));
    Collection c = Values(values);
    clsQuickSort sorter;
    sorter.Quicksort(c, {}, true);
    std::sort(values.begin(), values.end(),
              [](const QVariant& a, const QVariant& b) { return a.toInt() < b.toInt(); });
    EXPECT_EQ(Contents(c), values);

    // A folder of candidates that all score 0: no quadratic time, no deep recursion.
    Collection zeros = Values(QVariantList(200000, 0.0));
    sorter.Quicksort(zeros);
    EXPECT_EQ(zeros.Count(), 200000);
}

#include "QuickSortTest.moc"
