#pragma once

// The main window's commands that open the picture viewer.
enum class ViewerCommand {
    Pictures, // "全屏查看原图", "全屏查看" of the list, a list double-click
    Processed, // "全屏预览处理图", "全屏查看" of the preview, Enter on the preview
    Thumbnails, // "多图列表浏览原图"
    Slideshow, // "幻灯片模式浏览原图"
    Crop, // "裁剪图片", "裁剪原图"
};
