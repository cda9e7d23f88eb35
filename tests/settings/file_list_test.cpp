#include "run/file_list.h"

#include <gtest/gtest.h>

namespace {

TEST(FileList, UndoRestoresTheOrderBeforeTheRemovals)
{
    FileList list;
    for (int i = 0; i < 5; ++i)
        list.append(QStringLiteral("/p/%1.jpg").arg(i));
    const QStringList before = list.paths();
    EXPECT_EQ(list.removeEntries({4, 2}), 2);
    EXPECT_EQ(list.paths(), (QStringList {"/p/0.jpg", "/p/1.jpg", "/p/3.jpg"}));
    EXPECT_EQ(list.undoRemovals(), 2);
    EXPECT_EQ(list.paths(), before);
    EXPECT_FALSE(list.canUndo());
}

TEST(FileList, TwoRemovalsThenOneUndoRestoreBoth)
{
    FileList list;
    for (int i = 0; i < 6; ++i)
        list.append(QStringLiteral("/p/%1.jpg").arg(i));
    const QStringList before = list.paths();
    list.removeEntries({1, 3});
    list.removeEntries({0});
    EXPECT_EQ(list.paths(), (QStringList {"/p/2.jpg", "/p/4.jpg", "/p/5.jpg"}));
    list.undoRemovals();
    EXPECT_EQ(list.paths(), before);
}

TEST(FileList, CaptionsFollowTheirPictures)
{
    FileList list;
    for (int i = 0; i < 4; ++i)
        list.append(QStringLiteral("/p/%1.jpg").arg(i));
    list.setCaption(3, QStringLiteral("海边"));
    list.removeEntries({0});
    EXPECT_EQ(list.caption(2), QStringLiteral("海边"));
    EXPECT_EQ(list.captions(), (QStringList {"", "", "海边"}));
    list.undoRemovals();
    EXPECT_EQ(list.caption(3), QStringLiteral("海边"));
}

TEST(FileList, DuplicateTestIsExactAndSurvivesRemoval)
{
    FileList list;
    EXPECT_TRUE(list.appendUnique(QStringLiteral("/p/a.jpg")));
    EXPECT_FALSE(list.appendUnique(QStringLiteral("/p/a.jpg")));
    EXPECT_TRUE(list.appendUnique(QStringLiteral("/p/A.jpg")));
    list.append(QStringLiteral("/p/a.jpg")); // forced, as dropped bitmaps are
    list.removeEntries({0});
    EXPECT_TRUE(list.contains(QStringLiteral("/p/a.jpg"))); // the second copy is still there
    list.removeEntries({1});
    EXPECT_FALSE(list.contains(QStringLiteral("/p/a.jpg")));
    EXPECT_EQ(list.countText(), QStringLiteral("图片数量:1个"));
}

TEST(FileList, RemovalsBeyondTheRecordDropTheOldest)
{
    FileList list;
    for (int i = 0; i < 600; ++i)
        list.append(QStringLiteral("/p/%1.jpg").arg(i));
    for (int i = 0; i < 502; ++i)
        list.removeEntries({0}); // each removal takes the first entry
    EXPECT_EQ(list.count(), 98);
    EXPECT_EQ(list.undoRemovals(), FileList::kMaxRemovedEntries);
    // The oldest removal (picture 0) is gone for good; the rest are back in order.
    EXPECT_EQ(list.count(), 599);
    EXPECT_EQ(list.path(0), QStringLiteral("/p/1.jpg"));
    EXPECT_EQ(list.path(598), QStringLiteral("/p/599.jpg"));
}

TEST(FileList, ClearEmptiesListAndUndoRecord)
{
    FileList list;
    list.append(QStringLiteral("/p/a.jpg"));
    list.append(QStringLiteral("/p/b.jpg"));
    list.removeEntries({0});
    list.clear();
    EXPECT_FALSE(list.canUndo());
    EXPECT_EQ(list.undoRemovals(), 0);
    EXPECT_EQ(list.countText(), QStringLiteral("图片数量:0个"));
    list.clear();
    EXPECT_EQ(list.countText(), QStringLiteral("图片数量:0个"));
}

} // namespace
