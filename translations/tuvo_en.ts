<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>tuvo</name>
    <message>
        <source>文件夹里没有图片: </source>
        <translation>No pictures in the folder: </translation>
    </message>
    <message>
        <source>找不到: </source>
        <translation>Not found: </translation>
    </message>
    <message>
        <source>不是图片文件,已跳过: </source>
        <translation>Not a picture file, skipped: </translation>
    </message>
    <message>
        <source>找不到边框图片: </source>
        <translation>Frame picture not found: </translation>
    </message>
    <message>
        <source>找不到水印图片: </source>
        <translation>Watermark picture not found: </translation>
    </message>
    <message>
        <source>无法创建默认输出文件夹: </source>
        <translation>Cannot create the default output folder: </translation>
    </message>
    <message>
        <source>输出文件夹不存在: </source>
        <translation>Output folder does not exist: </translation>
    </message>
    <message>
        <source>Tuvo图片批量处理</source>
        <translation>Tuvo Batch Picture Processing</translation>
    </message>
    <message>
        <source>程序未能正常运行。请双击【注册组件.bat】后再试。如果还不能解决，请详细阅读【使用必读.txt】安装部分。</source>
        <translation>The program could not run properly. Please reinstall its components and try again. If that does not help, read the installation part of the read-me file.</translation>
    </message>
    <message>
        <source>内存不足</source>
        <translation>Out of memory</translation>
    </message>
    <message>
        <source>处理图片时发生意外错误</source>
        <translation>An unexpected error occurred while processing the picture</translation>
    </message>
    <message>
        <source>无法写入错误记录</source>
        <translation>Cannot write the error log </translation>
    </message>
    <message>
        <source>无边框</source>
        <translation>No frame</translation>
    </message>
    <message>
        <source>添加本地边框...</source>
        <translation>Add local frames...</translation>
    </message>
    <message>
        <source>网络下载边框...</source>
        <translation>Download frames...</translation>
    </message>
    <message>
        <source>GIF图片的宽和高不能超过65535像素</source>
        <translation>GIF pictures cannot be wider or higher than 65535 pixels</translation>
    </message>
    <message>
        <source>GIF调色板生成失败</source>
        <translation>Failed to build the GIF palette</translation>
    </message>
    <message>
        <source>GIF编码失败:</source>
        <translation>GIF encoding failed: </translation>
    </message>
    <message>
        <source>JPEG编码器无法启动</source>
        <translation>The JPEG encoder could not start</translation>
    </message>
    <message>
        <source>没有可保存的图片</source>
        <translation>No picture to save</translation>
    </message>
    <message>
        <source>没有扩展名为%1的图片编码器</source>
        <translation>No picture encoder for the extension %1</translation>
    </message>
    <message>
        <source>图片尺寸无效</source>
        <translation>Invalid picture size</translation>
    </message>
    <message>
        <source>图片太大(%1×%2像素),超过了内存上限%3MB</source>
        <translation>Picture too large (%1×%2 pixels), exceeds the memory limit of %3 MB</translation>
    </message>
    <message>
        <source>文件不存在</source>
        <translation>File does not exist</translation>
    </message>
    <message>
        <source>不是图片文件</source>
        <translation>Not a picture file</translation>
    </message>
    <message>
        <source>文件无法读取(没有权限)</source>
        <translation>File cannot be read (no permission)</translation>
    </message>
    <message>
        <source>文件是空的</source>
        <translation>File is empty</translation>
    </message>
    <message>
        <source>无法识别的图片格式</source>
        <translation>Unrecognised picture format</translation>
    </message>
    <message>
        <source>图片数据有误或不完整</source>
        <translation>Picture data is wrong or incomplete</translation>
    </message>
    <message>
        <source>文件无法读取</source>
        <translation>File cannot be read</translation>
    </message>
    <message>
        <source>图片无法解码</source>
        <translation>Picture cannot be decoded</translation>
    </message>
    <message>
        <source>内存不足,无法解码图片</source>
        <translation>Out of memory, cannot decode the picture</translation>
    </message>
    <message>
        <source>图片数据不完整(文件被截断)</source>
        <translation>Picture data is incomplete (file truncated)</translation>
    </message>
    <message>
        <source>JPEG数据有误:</source>
        <translation>Bad JPEG data: </translation>
    </message>
    <message>
        <source>文件无法读取:</source>
        <translation>File cannot be read: </translation>
    </message>
    <message>
        <source>颜色矩阵需要25个用逗号分隔的数字</source>
        <translation>the colour matrix needs 25 comma-separated numbers</translation>
    </message>
    <message>
        <source>颜色矩阵的第%1个数不是数字</source>
        <translation>number %1 of the colour matrix is not a number</translation>
    </message>
    <message>
        <source>通道系数需要 R,G,B 三个数字</source>
        <translation>channel factors need three numbers R,G,B</translation>
    </message>
    <message>
        <source>在本次操作过程中产生下列错误,敬请检查相关图片:<byte value="xd"/>
</source>
        <translation>The following errors occurred during this run; please check these pictures:<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>Tuvo图片集</source>
        <translation>Tuvo pictures</translation>
    </message>
    <message>
        <source>本图片集由Tuvo图片批量处理软件制作</source>
        <translation>This picture collection was made with Tuvo batch picture processing</translation>
    </message>
    <message>
        <source>输出图片的尺寸为0</source>
        <translation>The output picture has size 0</translation>
    </message>
    <message>
        <source>没有添加要处理的图片！</source>
        <translation>No pictures have been added for processing!</translation>
    </message>
    <message>
        <source>图片尺寸不能为0！</source>
        <translation>The picture size cannot be 0!</translation>
    </message>
    <message>
        <source>请设置图片输出文件夹！</source>
        <translation>Please set the output folder!</translation>
    </message>
    <message>
        <source>网络参数还没设置或设置错误！</source>
        <translation>The network settings are missing or wrong!</translation>
    </message>
    <message>
        <source>处理这些图片可能需要较长时间。为不干扰您的工作,软件将在最小化状态下运行。<byte value="xd"/>
确认最小化吗？</source>
        <translation>Processing these pictures may take a while. So as not to disturb your work, the program will run minimised.<byte value="xd"/>
Minimise now?</translation>
    </message>
    <message>
        <source>【提示】正在处理 </source>
        <translation>[Info] Processing </translation>
    </message>
    <message>
        <source>进度:%1/%2</source>
        <translation>Progress: %1/%2</translation>
    </message>
    <message>
        <source>开始处理</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>停止处理</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>【提示】处理完毕！图片已保存到输出文件夹并上传到网络。</source>
        <translation>[Info] Done! The pictures were saved to the output folder and uploaded.</translation>
    </message>
    <message>
        <source>【提示】处理完毕！图片已保存到输出文件夹,%1/%2张上传到网络。</source>
        <translation>[Info] Done! The pictures were saved to the output folder; %1/%2 uploaded.</translation>
    </message>
    <message>
        <source>【提示】处理完毕！图片已保存到输出文件夹。</source>
        <translation>[Info] Done! The pictures were saved to the output folder.</translation>
    </message>
    <message>
        <source>请注意,在图片处理或上传过程中发生错误。</source>
        <translation>Please note: errors occurred while processing or uploading pictures.</translation>
    </message>
    <message>
        <source>在处理过程中发生错误,这些错误已经保存到</source>
        <translation>Errors occurred during processing; they were saved to </translation>
    </message>
    <message>
        <source>。<byte value="xd"/>
现在查看错误记录吗？</source>
        <translation>.<byte value="xd"/>
View the error log now?</translation>
    </message>
    <message>
        <source>就绪。</source>
        <translation>Ready.</translation>
    </message>
    <message>
        <source>在显示图片时发生错误:(0)</source>
        <translation>: error while displaying the picture: (0)</translation>
    </message>
    <message>
        <source>。<byte value="xd"/>
</source>
        <translation>.<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>在保存时发生错误:</source>
        <translation>: error while saving: </translation>
    </message>
    <message>
        <source>在添加图片水印时发生错误:(错误代码:0)</source>
        <translation>: error while adding the picture watermark: (error code: 0)</translation>
    </message>
    <message>
        <source>输出文件</source>
        <translation>The output file </translation>
    </message>
    <message>
        <source>就是要处理的原图片,为保护原图没有覆盖它</source>
        <translation> is the source picture itself; it was not overwritten to protect it</translation>
    </message>
    <message>
        <source>输出文件夹不存在:</source>
        <translation>Output folder does not exist: </translation>
    </message>
    <message>
        <source>从Word文档批量导入...</source>
        <translation>Import from Word document...</translation>
    </message>
    <message>
        <source>请选择图片所在的Word文件</source>
        <translation>Choose the Word file containing the pictures</translation>
    </message>
    <message>
        <source>Word文档(*.doc,*.docx) (*.doc *.docx)</source>
        <translation>Word documents (*.doc,*.docx) (*.doc *.docx)</translation>
    </message>
    <message>
        <source>这个文件里没有图片呢！</source>
        <translation>There are no pictures in this file!</translation>
    </message>
    <message>
        <source>打开.doc文件需要安装LibreOffice(soffice)。请安装LibreOffice,或先用字处理软件把它另存为.docx文件。</source>
        <translation>Opening .doc files needs LibreOffice (soffice). Please install LibreOffice, or save the file as .docx in a word processor first.</translation>
    </message>
    <message>
        <source>无法用LibreOffice把.doc文件转换为.docx: </source>
        <translation>Cannot convert the .doc file to .docx with LibreOffice: </translation>
    </message>
    <message>
        <source>无法读取这个Word文件: </source>
        <translation>Cannot read this Word file: </translation>
    </message>
    <message>
        <source>【操作错误】文档中的第%1张图片(%2)无法导入: %3</source>
        <translation>[Error] Picture %1 of the document (%2) cannot be imported: %3</translation>
    </message>
    <message>
        <source>【提示】已从Word文档导入%1张图片。</source>
        <translation>[Info] Imported %1 pictures from the Word document.</translation>
    </message>
    <message>
        <source>【提示】请确保摄像头已经与您的电脑连接好。</source>
        <translation>[Info] Please make sure the camera is connected to your computer.</translation>
    </message>
    <message>
        <source>没有摄像头或发生错误！请检查。</source>
        <translation>No camera, or an error occurred! Please check.</translation>
    </message>
    <message>
        <source>摄像头拍照</source>
        <translation>Camera</translation>
    </message>
    <message>
        <source>拍照</source>
        <translation>Take photo</translation>
    </message>
    <message>
        <source>重拍</source>
        <translation>Retake</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>重新选择</source>
        <translation>Select again</translation>
    </message>
    <message>
        <source>复制到剪贴板</source>
        <translation>Copy to clipboard</translation>
    </message>
    <message>
        <source>添加到图片列表</source>
        <translation>Add to picture list</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>【操作错误】无法截取屏幕(这个桌面不允许程序截屏)。</source>
        <translation>[Error] Cannot capture the screen (this desktop does not allow programs to take screenshots).</translation>
    </message>
    <message>
        <source>【操作错误】无法截取屏幕:桌面的截图服务(xdg-desktop-portal)没有回应。</source>
        <translation>[Error] Cannot capture the screen: the desktop&apos;s screenshot service (xdg-desktop-portal) did not answer.</translation>
    </message>
    <message>
        <source>【提示】截图已添加到图片列表: </source>
        <translation>[Info] Screenshot added to the picture list: </translation>
    </message>
    <message>
        <source>【提示】照片已添加到图片列表: </source>
        <translation>[Info] Photo added to the picture list: </translation>
    </message>
    <message>
        <source>【操作错误】无法保存图片</source>
        <translation>[Error] Cannot save the picture</translation>
    </message>
    <message>
        <source>LibreOffice超时未完成</source>
        <translation>LibreOffice did not finish in time</translation>
    </message>
    <message>
        <source>LibreOffice没有生成.docx文件</source>
        <translation>LibreOffice produced no .docx file</translation>
    </message>
    <message>
        <source>不是有效的.docx文件(不是zip压缩包)</source>
        <translation>Not a valid .docx file (not a zip archive)</translation>
    </message>
    <message>
        <source>压缩包里的条目太多(超过%1个)</source>
        <translation>Too many entries in the archive (more than %1)</translation>
    </message>
    <message>
        <source>文件没有打开</source>
        <translation>The file is not open</translation>
    </message>
    <message>
        <source>文件中缺少部件 </source>
        <translation>The file lacks the part </translation>
    </message>
    <message>
        <source>部件 %1 太大(声明大小 %2 字节)</source>
        <translation>Part %1 is too large (declared size %2 bytes)</translation>
    </message>
    <message>
        <source>部件 %1 的压缩比异常,可能是压缩炸弹</source>
        <translation>Part %1 has an abnormal compression ratio, possibly a zip bomb</translation>
    </message>
    <message>
        <source>部件 %1 已损坏: </source>
        <translation>Part %1 is damaged: </translation>
    </message>
    <message>
        <source>部件 %1 的实际大小与声明不符</source>
        <translation>The actual size of part %1 differs from the declared one</translation>
    </message>
    <message>
        <source>XML有误(第%1行): %2</source>
        <translation>Bad XML (line %1): %2</translation>
    </message>
    <message>
        <source>无法创建文件夹 </source>
        <translation>Cannot create the folder </translation>
    </message>
    <message>
        <source>没有图片</source>
        <translation>No picture</translation>
    </message>
    <message>
        <source>%1格式的图片无法解码</source>
        <translation>Pictures of format %1 cannot be decoded</translation>
    </message>
    <message>
        <source>无法创建临时文件夹</source>
        <translation>Cannot create a temporary folder</translation>
    </message>
    <message>
        <source>文档正文是空的</source>
        <translation>The document body is empty</translation>
    </message>
    <message>
        <source>文档里找不到它的数据(关系%1缺失)</source>
        <translation>its data is not in the document (relationship %1 missing)</translation>
    </message>
    <message>
        <source>它是链接到文档外的图片</source>
        <translation>it is a picture linked from outside the document</translation>
    </message>
    <message>
        <source>它的位置指向文档之外</source>
        <translation>its location points outside the document</translation>
    </message>
    <message>
        <source>无法创建文件夹</source>
        <translation>Cannot create the folder</translation>
    </message>
    <message>
        <source>文档尚未开始或已经结束。</source>
        <translation>The document has not started or has already ended.</translation>
    </message>
    <message>
        <source>无法写入PDF文件:%1(%2)。</source>
        <translation>Cannot write the PDF file: %1 (%2).</translation>
    </message>
    <message>
        <source>)。</source>
        <translation>).</translation>
    </message>
    <message>
        <source>字体大小无效:%1。</source>
        <translation>Invalid font size: %1.</translation>
    </message>
    <message>
        <source>图片缩放方式无效:%1。</source>
        <translation>Invalid picture scaling mode: %1.</translation>
    </message>
    <message>
        <source>不支持的页面单位:%1。</source>
        <translation>Unsupported page unit: %1.</translation>
    </message>
    <message>
        <source>图片比例无效:%1。</source>
        <translation>Invalid picture ratio: %1.</translation>
    </message>
    <message>
        <source>未知的数值属性:%1。</source>
        <translation>Unknown numeric property: %1.</translation>
    </message>
    <message>
        <source>未知的文本属性:%1。</source>
        <translation>Unknown text property: %1.</translation>
    </message>
    <message>
        <source>文档已经开始。</source>
        <translation>The document has already started.</translation>
    </message>
    <message>
        <source>无法创建PDF文件:%1(%2)。</source>
        <translation>Cannot create the PDF file: %1 (%2).</translation>
    </message>
    <message>
        <source>无法开始PDF文档</source>
        <translation>Cannot start the PDF document</translation>
    </message>
    <message>
        <source>无法添加新页</source>
        <translation>Cannot add a new page</translation>
    </message>
    <message>
        <source>无法绘制文字</source>
        <translation>Cannot draw the text</translation>
    </message>
    <message>
        <source>无法读取图片:%1(%2)。</source>
        <translation>Cannot read the picture: %1 (%2).</translation>
    </message>
    <message>
        <source>无法绘制图片:</source>
        <translation>Cannot draw the picture: </translation>
    </message>
    <message>
        <source>无法保存PDF文件:%1(%2)。</source>
        <translation>Cannot save the PDF file: %1 (%2).</translation>
    </message>
    <message>
        <source>在传输文件时发生错误:(错误代码:%1)。</source>
        <translation>: error while transferring the file: (error code: %1).</translation>
    </message>
    <message>
        <source>服务器没有应答。</source>
        <translation>The server did not answer.</translation>
    </message>
    <message>
        <source>服务器没有应答,本次不再连接。</source>
        <translation>The server did not answer; no more connections this time.</translation>
    </message>
    <message>
        <source>敬告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>严禁上传淫秽、暴力、反动等国家禁止或有违道德图片！<byte value="xd"/>
<byte value="xd"/>
请自觉遵守法律法规和道德规范，共创良好网络环境。</source>
        <translation>Uploading obscene, violent or otherwise unlawful or immoral pictures is strictly forbidden!<byte value="xd"/>
<byte value="xd"/>
Please abide by the law and good conduct and help keep the web a good place.</translation>
    </message>
    <message>
        <source>【提示】图片将被上传到互联网,请确保网络连接正常。</source>
        <translation>[Info] The pictures will be uploaded to the internet; please make sure the network connection works.</translation>
    </message>
    <message>
        <source>写入文件时发生错误:%1(%2)。</source>
        <translation>Error while writing a file: %1 (%2).</translation>
    </message>
    <message>
        <source>无法锁定文件</source>
        <translation>Cannot lock the file</translation>
    </message>
    <message>
        <source>输出文件夹:</source>
        <translation>Output folder: </translation>
    </message>
    <message>
        <source>新建文件夹</source>
        <translation>New folder</translation>
    </message>
    <message>
        <source>新建文件夹( %1)</source>
        <translation>New folder (%1)</translation>
    </message>
    <message>
        <source>图片数量:%1个</source>
        <translation>Pictures: %1</translation>
    </message>
    <message>
        <source>无特效</source>
        <translation>No effect</translation>
    </message>
    <message>
        <source>调整亮度</source>
        <translation>Brightness</translation>
    </message>
    <message>
        <source>默认</source>
        <translation>Default</translation>
    </message>
    <message>
        <source>颜色矩阵调整</source>
        <translation>Colour matrix</translation>
    </message>
    <message>
        <source>取消旋转</source>
        <translation>No rotation</translation>
    </message>
    <message>
        <source>智能旋转数码照片</source>
        <translation>Smart rotation of digital photos</translation>
    </message>
    <message>
        <source>顺转90度</source>
        <translation>Rotate 90° clockwise</translation>
    </message>
    <message>
        <source>逆转90度</source>
        <translation>Rotate 90° counter-clockwise</translation>
    </message>
    <message>
        <source>旋转180度</source>
        <translation>Rotate 180°</translation>
    </message>
    <message>
        <source>水平镜像</source>
        <translation>Mirror horizontally</translation>
    </message>
    <message>
        <source>垂直镜像</source>
        <translation>Mirror vertically</translation>
    </message>
    <message>
        <source>调整亮度...</source>
        <translation>Brightness...</translation>
    </message>
    <message>
        <source>高级...</source>
        <translation>Advanced...</translation>
    </message>
    <message>
        <source>旋转</source>
        <translation>Rotate</translation>
    </message>
    <message>
        <source>美容</source>
        <translation>Beauty</translation>
    </message>
    <message>
        <source>快速人像美容</source>
        <translation>Quick portrait beauty</translation>
    </message>
    <message>
        <source>更多特效</source>
        <translation>More effects</translation>
    </message>
    <message>
        <source>特效</source>
        <translation>Effects</translation>
    </message>
    <message>
        <source>色通道开关</source>
        <translation>Colour channels on/off</translation>
    </message>
    <message>
        <source>色彩</source>
        <translation>Colour</translation>
    </message>
    <message>
        <source>移动图片</source>
        <translation>Move picture</translation>
    </message>
    <message>
        <source>恢复原点</source>
        <translation>Reset origin</translation>
    </message>
    <message>
        <source>坐标定位</source>
        <translation>Set position</translation>
    </message>
    <message>
        <source>设置图片左右与画布重合</source>
        <translation>Fit the picture to the canvas horizontally</translation>
    </message>
    <message>
        <source>设置图片上下与画布重合</source>
        <translation>Fit the picture to the canvas vertically</translation>
    </message>
    <message>
        <source>裁剪图片</source>
        <translation>Crop picture</translation>
    </message>
    <message>
        <source>设置文本水印</source>
        <translation>Text watermark settings</translation>
    </message>
    <message>
        <source>文字不能为空！</source>
        <translation>The text cannot be empty!</translation>
    </message>
    <message>
        <source>文字大小不能为空！</source>
        <translation>The text size cannot be empty!</translation>
    </message>
    <message>
        <source>文字水印:</source>
        <translation>Text watermark: </translation>
    </message>
    <message>
        <source>无</source>
        <translation>None</translation>
    </message>
    <message>
        <source>【提示】成功设置文字水印:</source>
        <translation>[Info] Text watermark set: </translation>
    </message>
    <message>
        <source>选项</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>PDF参数设置</source>
        <translation>PDF settings</translation>
    </message>
    <message>
        <source>输出JPG图片质量只能是0-100之间的数字。</source>
        <translation>The JPG quality must be a number from 0 to 100.</translation>
    </message>
    <message>
        <source>幻灯片播放时图片切换的时间间隔只能是1-30秒。</source>
        <translation>The slideshow interval must be 1-30 seconds.</translation>
    </message>
    <message>
        <source>【提示】按住鼠标左键拖动蓝色方块即可调整图片位置,方向键微调,鼠标右键退出移动模式。</source>
        <translation>[Info] Drag the blue square with the left mouse button to move the picture, fine-tune with the arrow keys; the right mouse button leaves move mode.</translation>
    </message>
    <message>
        <source>【提示】按住鼠标左键拖动蓝色条块即可调整位置,键盘方向键微调。鼠标右键退出移动模式。</source>
        <translation>[Info] Drag the blue bar with the left mouse button to adjust the position, fine-tune with the arrow keys. The right mouse button leaves move mode.</translation>
    </message>
    <message>
        <source>【提示】按住鼠标左键拖动蓝色条块即可调整位置,方向键微调。</source>
        <translation>[Info] Drag the blue bar with the left mouse button to adjust the position, fine-tune with the arrow keys.</translation>
    </message>
    <message>
        <source>起始点坐标</source>
        <translation>Starting point</translation>
    </message>
    <message>
        <source>请输入主图起始点坐标，格式为X,Y。

如:要定点于左100像素、上120像素，请输入100,120</source>
        <translation>Enter the starting point of the main picture as X,Y.

E.g. for 100 pixels from the left and 120 from the top, enter 100,120</translation>
    </message>
    <message>
        <source>原图</source>
        <translation>Original</translation>
    </message>
    <message>
        <source>自动</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>水平</source>
        <translation>Horiz.</translation>
    </message>
    <message>
        <source>垂直</source>
        <translation>Vert.</translation>
    </message>
    <message>
        <source>恢复图片原始方向</source>
        <translation>Restore the picture&apos;s original orientation</translation>
    </message>
    <message>
        <source>自动扶正非正常方向拍摄的数码照片</source>
        <translation>Straighten digital photos taken in an unusual orientation</translation>
    </message>
    <message>
        <source>顺时针旋转90度</source>
        <translation>Rotate 90° clockwise</translation>
    </message>
    <message>
        <source>逆时针旋转90度</source>
        <translation>Rotate 90° counter-clockwise</translation>
    </message>
    <message>
        <source>以水平线为轴镜像</source>
        <translation>Mirror about the horizontal axis</translation>
    </message>
    <message>
        <source>以垂线为轴镜像</source>
        <translation>Mirror about the vertical axis</translation>
    </message>
    <message>
        <source>红色通道</source>
        <translation>Red channel</translation>
    </message>
    <message>
        <source>绿色通道</source>
        <translation>Green channel</translation>
    </message>
    <message>
        <source>蓝色通道</source>
        <translation>Blue channel</translation>
    </message>
    <message>
        <source>红</source>
        <translation>R</translation>
    </message>
    <message>
        <source>绿</source>
        <translation>G</translation>
    </message>
    <message>
        <source>蓝</source>
        <translation>B</translation>
    </message>
    <message>
        <source>红色分量大小(0-1)</source>
        <translation>Red factor (0-1)</translation>
    </message>
    <message>
        <source>绿色分量大小(0-1)</source>
        <translation>Green factor (0-1)</translation>
    </message>
    <message>
        <source>蓝色分量大小(0-1)</source>
        <translation>Blue factor (0-1)</translation>
    </message>
    <message>
        <source>【提示】请输入数字。数字越大该颜色越重(建议0-10之间，可以是小数)。</source>
        <translation>[Info] Please enter a number. The larger the number, the stronger the colour (0-10 recommended, decimals allowed).</translation>
    </message>
    <message>
        <source>Tuvo提示</source>
        <translation>Tuvo notice</translation>
    </message>
    <message>
        <source>文件夹/文件选择对话框</source>
        <translation>Choose a folder or file</translation>
    </message>
    <message>
        <source>请选择目录或文件。</source>
        <translation>Please choose a folder or file.</translation>
    </message>
    <message>
        <source>图片预览</source>
        <translation>Picture preview</translation>
    </message>
    <message>
        <source>包含子文件夹内图片。</source>
        <translation>Include pictures in subfolders.</translation>
    </message>
    <message>
        <source>透明度</source>
        <translation>Opacity</translation>
    </message>
    <message>
        <source>0-完全透明 100-不透明</source>
        <translation>0 - fully transparent, 100 - opaque</translation>
    </message>
    <message>
        <source>桌面</source>
        <translation>Desktop</translation>
    </message>
    <message>
        <source>我的文档</source>
        <translation>Documents</translation>
    </message>
    <message>
        <source>新建</source>
        <translation>New</translation>
    </message>
    <message>
        <source>请选择皮肤文件</source>
        <translation>Please choose a skin file</translation>
    </message>
    <message>
        <source>您选择的是&quot;</source>
        <translation>You chose the folder &quot;</translation>
    </message>
    <message>
        <source>&quot;文件夹。</source>
        <translation>&quot;.</translation>
    </message>
    <message>
        <source>&quot;等共</source>
        <translation>&quot; and others, </translation>
    </message>
    <message>
        <source>个文件。</source>
        <translation> files in all.</translation>
    </message>
    <message>
        <source>无法预览</source>
        <translation>No preview</translation>
    </message>
    <message>
        <source>请选择要添加的水印图片。</source>
        <translation>Please choose the watermark picture to add.</translation>
    </message>
    <message>
        <source>请选择皮肤文件。</source>
        <translation>Please choose a skin file.</translation>
    </message>
    <message>
        <source>根据你的需要设置下列参数</source>
        <translation>Set the following options as you need</translation>
    </message>
    <message>
        <source>输出JPG图片质量(0-100,质量越好文件越大):</source>
        <translation>JPG quality (0-100; better quality, larger files):</translation>
    </message>
    <message>
        <source>幻灯片播放时图片切换的时间间隔(1-30秒):</source>
        <translation>Slideshow interval between pictures (1-30 seconds):</translation>
    </message>
    <message>
        <source>小图片不放大（保持原有尺寸）。</source>
        <translation>Do not enlarge small pictures (keep their size).</translation>
    </message>
    <message>
        <source>图片缩放不合比例时剪切图片(不选则扩充画布)。</source>
        <translation>Crop the picture when proportions differ (otherwise extend the canvas).</translation>
    </message>
    <message>
        <source>左优先</source>
        <translation>Left first</translation>
    </message>
    <message>
        <source>中间优先</source>
        <translation>Middle first</translation>
    </message>
    <message>
        <source>右优先</source>
        <translation>Right first</translation>
    </message>
    <message>
        <source>上优先</source>
        <translation>Top first</translation>
    </message>
    <message>
        <source>下优先</source>
        <translation>Bottom first</translation>
    </message>
    <message>
        <source>处理结束后自动打开输出目录查看处理好的图片。</source>
        <translation>Open the output folder after processing to view the pictures.</translation>
    </message>
    <message>
        <source>上传结束后自动打开PicURL.htm查看上传好的图片。</source>
        <translation>Open PicURL.htm after uploading to view the uploaded pictures.</translation>
    </message>
    <message>
        <source>PicURL.htm输出网络图片地址。</source>
        <translation>PicURL.htm lists the web addresses of the pictures.</translation>
    </message>
    <message>
        <source>PicURL.htm输出并显示网络图片。</source>
        <translation>PicURL.htm lists and shows the web pictures.</translation>
    </message>
    <message>
        <source>输出图片处理过程中的错误记录。</source>
        <translation>Write a log of the errors during processing.</translation>
    </message>
    <message>
        <source>软件启动时显示最新消息和广告。</source>
        <translation>Show the latest news and ads at start.</translation>
    </message>
    <message>
        <source>软件启动时自动检测新版本。</source>
        <translation>Check for a new version at start.</translation>
    </message>
    <message>
        <source>全部保留</source>
        <translation>Keep all</translation>
    </message>
    <message>
        <source>保留但去掉位置信息</source>
        <translation>Keep, but drop the location</translation>
    </message>
    <message>
        <source>全部去掉</source>
        <translation>Drop all</translation>
    </message>
    <message>
        <source>保留原图的颜色配置文件</source>
        <translation>Keep the source&apos;s colour profile</translation>
    </message>
    <message>
        <source>转换为sRGB</source>
        <translation>Convert to sRGB</translation>
    </message>
    <message>
        <source>元数据(EXIF/XMP/IPTC):</source>
        <translation>Metadata (EXIF/XMP/IPTC):</translation>
    </message>
    <message>
        <source>颜色:</source>
        <translation>Colour:</translation>
    </message>
    <message>
        <source>请设置下列参数</source>
        <translation>Please set the following</translation>
    </message>
    <message>
        <source>图片集标题</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>署名</source>
        <translation>Author</translation>
    </message>
    <message>
        <source>日期</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>&lt;&lt;&lt;&lt;图片及说明区域&gt;&gt;&gt;&gt;</source>
        <translation>&lt;&lt;&lt;&lt; Pictures and captions &gt;&gt;&gt;&gt;</translation>
    </message>
    <message>
        <source>参数设置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>输入水印文字,或从列表中选择</source>
        <translation>Type the watermark text or choose one from the list</translation>
    </message>
    <message>
        <source>加粗</source>
        <translation>Bold</translation>
    </message>
    <message>
        <source>斜体</source>
        <translation>Italic</translation>
    </message>
    <message>
        <source>下划线</source>
        <translation>Underline</translation>
    </message>
    <message>
        <source>单击选择文字颜色</source>
        <translation>Click to choose the text colour</translation>
    </message>
    <message>
        <source>水印文字:</source>
        <translation>Watermark text:</translation>
    </message>
    <message>
        <source>字体:</source>
        <translation>Font:</translation>
    </message>
    <message>
        <source>大小:</source>
        <translation>Size:</translation>
    </message>
    <message>
        <source>预览</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>正在处理，请稍候</source>
        <translation>Processing, please wait</translation>
    </message>
    <message>
        <source>网络参数设置</source>
        <translation>Network settings</translation>
    </message>
    <message>
        <source>FTP服务器:</source>
        <translation>FTP server:</translation>
    </message>
    <message>
        <source>用户名:</source>
        <translation>User name:</translation>
    </message>
    <message>
        <source>密码:</source>
        <translation>Password:</translation>
    </message>
    <message>
        <source>不会保存到磁盘</source>
        <translation>never saved to disk</translation>
    </message>
    <message>
        <source>网址:</source>
        <translation>Web address:</translation>
    </message>
    <message>
        <source>FTP目录:</source>
        <translation>FTP folder:</translation>
    </message>
    <message>
        <source>子目录:</source>
        <translation>Subfolder:</translation>
    </message>
    <message>
        <source>被动模式(PASV)</source>
        <translation>Passive mode (PASV)</translation>
    </message>
    <message>
        <source>更新说明</source>
        <translation>Release notes</translation>
    </message>
    <message>
        <source>许可协议</source>
        <translation>Licence</translation>
    </message>
    <message>
        <source>问题反馈</source>
        <translation>Report a problem</translation>
    </message>
    <message>
        <source>裁剪原图</source>
        <translation>Crop original</translation>
    </message>
    <message>
        <source>【提示】选择要添加的图片,可多选。</source>
        <translation>[Info] Choose the pictures to add; several may be chosen.</translation>
    </message>
    <message>
        <source>选择要添加的图片,可多选。</source>
        <translation>Choose the pictures to add; several may be chosen.</translation>
    </message>
    <message>
        <source>请选择文件夹,该文件夹内所有图片将被添加。</source>
        <translation>Choose a folder; all pictures in it will be added.</translation>
    </message>
    <message>
        <source>  无法显示</source>
        <translation>  cannot be shown</translation>
    </message>
    <message>
        <source>%1    输出尺寸 %2 × %3</source>
        <translation>%1    output size %2 × %3</translation>
    </message>
    <message>
        <source>【提示】文件路径已复制:</source>
        <translation>[Info] File path copied: </translation>
    </message>
    <message>
        <source>移除图片</source>
        <translation>Remove picture</translation>
    </message>
    <message>
        <source>取消移除</source>
        <translation>Undo remove</translation>
    </message>
    <message>
        <source>全部清空</source>
        <translation>Clear all</translation>
    </message>
    <message>
        <source>全屏查看</source>
        <translation>Full screen</translation>
    </message>
    <message>
        <source>复制文件路径</source>
        <translation>Copy file path</translation>
    </message>
    <message>
        <source>图片说明</source>
        <translation>Picture caption</translation>
    </message>
    <message>
        <source>复制图片</source>
        <translation>Copy picture</translation>
    </message>
    <message>
        <source>设置文字水印</source>
        <translation>Text watermark...</translation>
    </message>
    <message>
        <source>设置图片水印</source>
        <translation>Picture watermark...</translation>
    </message>
    <message>
        <source>【提示】按住鼠标左键拖动红色圆块即可调整位置,方向键微调。</source>
        <translation>[Info] Drag the red dot with the left mouse button to adjust the position, fine-tune with the arrow keys.</translation>
    </message>
    <message>
        <source>限制宽度</source>
        <translation>Limit width</translation>
    </message>
    <message>
        <source>适应边框</source>
        <translation>Fit frame</translation>
    </message>
    <message>
        <source>原始尺寸</source>
        <translation>Original size</translation>
    </message>
    <message>
        <source>自定义尺寸...</source>
        <translation>Custom size...</translation>
    </message>
    <message>
        <source>【提示】输入图片宽度,高度将按原图片比例自动换算。</source>
        <translation>[Info] Enter the picture width; the height follows the original proportions.</translation>
    </message>
    <message>
        <source>【提示】请输入图片宽度和高度。</source>
        <translation>[Info] Please enter the picture width and height.</translation>
    </message>
    <message>
        <source>【提示】请选择文件夹,该文件夹内所有图片边框将被添加。</source>
        <translation>[Info] Choose a folder; all picture frames in it will be added.</translation>
    </message>
    <message>
        <source>请选择文件夹,该文件夹内所有图片边框将被添加。</source>
        <translation>Choose a folder; all picture frames in it will be added.</translation>
    </message>
    <message>
        <source>【提示】滚动鼠标滚轮可以选择不同的边框。</source>
        <translation>[Info] Scroll the mouse wheel to choose another frame.</translation>
    </message>
    <message>
        <source>图片水印:</source>
        <translation>Picture watermark: </translation>
    </message>
    <message>
        <source>【提示】已设置图片水印:</source>
        <translation>[Info] Picture watermark set: </translation>
    </message>
    <message>
        <source>。</source>
        <translation>.</translation>
    </message>
    <message>
        <source>【提示】请选择要添加的水印图片。</source>
        <translation>[Info] Please choose the watermark picture to add.</translation>
    </message>
    <message>
        <source>#不要前缀#</source>
        <translation>#no prefix#</translation>
    </message>
    <message>
        <source>请选择文件夹(处理好的文件将被保存到该文件夹)。</source>
        <translation>Choose a folder (the processed files will be saved there).</translation>
    </message>
    <message>
        <source>在这里填写该图片的说明,回车确认,ESC键隐藏本说明</source>
        <translation>Type the caption of this picture here; Enter confirms, Esc hides it</translation>
    </message>
    <message>
        <source>【提示】请输入对该图片的说明，该说明将出现在PDF图片集中。</source>
        <translation>[Info] Enter a caption for this picture; it will appear in the PDF collection.</translation>
    </message>
    <message>
        <source>1.添加要处理的图片</source>
        <translation>1. Add pictures</translation>
    </message>
    <message>
        <source>添加图片</source>
        <translation>Add pictures</translation>
    </message>
    <message>
        <source>添加文件夹</source>
        <translation>Add folder</translation>
    </message>
    <message>
        <source>添加单张或多张图片</source>
        <translation>Add one or more pictures</translation>
    </message>
    <message>
        <source>添加文件夹内全部图片</source>
        <translation>Add all pictures in a folder</translation>
    </message>
    <message>
        <source>2.指定尺寸</source>
        <translation>2. Size</translation>
    </message>
    <message>
        <source>【提示】输入图片的宽度(单位:像素)，然后按回车键确认。</source>
        <translation>[Info] Enter the picture width (pixels), then press Enter.</translation>
    </message>
    <message>
        <source>【提示】输入图片的高度(单位:像素)，然后按回车键确认。</source>
        <translation>[Info] Enter the picture height (pixels), then press Enter.</translation>
    </message>
    <message>
        <source>【提示】请输入数字。该数字指定了图片的左边界。</source>
        <translation>[Info] Please enter a number. It sets the left edge of the picture.</translation>
    </message>
    <message>
        <source>【提示】请输入数字。该数字指定了图片的上边界。</source>
        <translation>[Info] Please enter a number. It sets the top edge of the picture.</translation>
    </message>
    <message>
        <source>宽度:</source>
        <translation>Width:</translation>
    </message>
    <message>
        <source>高度:</source>
        <translation>Height:</translation>
    </message>
    <message>
        <source>图片左边</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>图片上边</source>
        <translation>Top</translation>
    </message>
    <message>
        <source>3.添加边框和水印</source>
        <translation>3. Frame and watermarks</translation>
    </message>
    <message>
        <source>选择图片边框</source>
        <translation>Choose a frame</translation>
    </message>
    <message>
        <source>文字水印</source>
        <translation>Text watermark</translation>
    </message>
    <message>
        <source>文字水印:无</source>
        <translation>Text watermark: none</translation>
    </message>
    <message>
        <source>文字大小</source>
        <translation>Text size</translation>
    </message>
    <message>
        <source>【提示】请输入水印文字的大小。</source>
        <translation>[Info] Please enter the size of the watermark text.</translation>
    </message>
    <message>
        <source>图片水印</source>
        <translation>Picture watermark</translation>
    </message>
    <message>
        <source>图片水印:无</source>
        <translation>Picture watermark: none</translation>
    </message>
    <message>
        <source>水印透明度(0-完全透明,100-不透明)</source>
        <translation>Watermark opacity (0 transparent, 100 opaque)</translation>
    </message>
    <message>
        <source>【提示】请输入水印图片的透明度(0-100，数字越大越不透明)。</source>
        <translation>[Info] Please enter the opacity of the watermark picture (0-100; larger is more opaque).</translation>
    </message>
    <message>
        <source>水印图片大小</source>
        <translation>Watermark size</translation>
    </message>
    <message>
        <source>右下</source>
        <translation>Bottom right</translation>
    </message>
    <message>
        <source>左下</source>
        <translation>Bottom left</translation>
    </message>
    <message>
        <source>左上</source>
        <translation>Top left</translation>
    </message>
    <message>
        <source>右上</source>
        <translation>Top right</translation>
    </message>
    <message>
        <source>居中</source>
        <translation>Centre</translation>
    </message>
    <message>
        <source>自定义</source>
        <translation>Custom</translation>
    </message>
    <message>
        <source>边框:</source>
        <translation>Frame:</translation>
    </message>
    <message>
        <source>大小</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>4.设置输出参数</source>
        <translation>4. Output</translation>
    </message>
    <message>
        <source>改名:</source>
        <translation>Rename:</translation>
    </message>
    <message>
        <source>统一文件名</source>
        <translation>Uniform names</translation>
    </message>
    <message>
        <source>文件名前缀(双击调出更多选项)</source>
        <translation>File name prefix (double-click for more)</translation>
    </message>
    <message>
        <source>【提示】请输入图片文件名的前缀(如输入Tupian_,那么文件名将类似Tupian_001.jpg)。双击文本框弹出更多设置。</source>
        <translation>[Info] Enter a prefix for the file names (e.g. Tupian_ gives names like Tupian_001.jpg). Double-click the box for more.</translation>
    </message>
    <message>
        <source>【提示】请输入图片文件名的顺序号位数(比如输入3,那么文件名将类似Tuvo_001.jpg)。</source>
        <translation>[Info] Enter the number of digits of the sequence number (e.g. 3 gives names like Tuvo_001.jpg).</translation>
    </message>
    <message>
        <source>输出目录</source>
        <translation>Output folder</translation>
    </message>
    <message>
        <source>格式:</source>
        <translation>Format:</translation>
    </message>
    <message>
        <source>5.完成</source>
        <translation>5. Finish</translation>
    </message>
    <message>
        <source>生成PDF图片集</source>
        <translation>Make a PDF collection</translation>
    </message>
    <message>
        <source>PDF设置</source>
        <translation>PDF settings</translation>
    </message>
    <message>
        <source>上传到网络</source>
        <translation>Upload to the web</translation>
    </message>
    <message>
        <source>开始批处理</source>
        <translation>Start batch</translation>
    </message>
    <message>
        <source>文件(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>添加单张或多张图片...</source>
        <translation>Add one or more pictures...</translation>
    </message>
    <message>
        <source>添加文件夹内全部图片...</source>
        <translation>Add all pictures in a folder...</translation>
    </message>
    <message>
        <source>摄像头拍照...</source>
        <translation>Camera...</translation>
    </message>
    <message>
        <source>屏幕截图...</source>
        <translation>Screenshot...</translation>
    </message>
    <message>
        <source>输出目录...</source>
        <translation>Output folder...</translation>
    </message>
    <message>
        <source>退    出</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>编辑(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>移除所选图片</source>
        <translation>Remove selected pictures</translation>
    </message>
    <message>
        <source>重新载入移除的图片</source>
        <translation>Reload removed pictures</translation>
    </message>
    <message>
        <source>清空添加的全部图片</source>
        <translation>Clear all added pictures</translation>
    </message>
    <message>
        <source>水印(&amp;W)</source>
        <translation>&amp;Watermark</translation>
    </message>
    <message>
        <source>文字水印...</source>
        <translation>Text watermark...</translation>
    </message>
    <message>
        <source>图片水印...</source>
        <translation>Picture watermark...</translation>
    </message>
    <message>
        <source>图像(&amp;I)</source>
        <translation>&amp;Image</translation>
    </message>
    <message>
        <source>方向旋转</source>
        <translation>Rotation</translation>
    </message>
    <message>
        <source>色彩通道</source>
        <translation>Colour channels</translation>
    </message>
    <message>
        <source>特效(&amp;X)</source>
        <translation>&amp;Effects</translation>
    </message>
    <message>
        <source>浏览(&amp;B)</source>
        <translation>&amp;Browse</translation>
    </message>
    <message>
        <source>全屏查看原图</source>
        <translation>View original full screen</translation>
    </message>
    <message>
        <source>全屏预览处理图</source>
        <translation>Preview processed picture full screen</translation>
    </message>
    <message>
        <source>多图列表浏览原图</source>
        <translation>Browse originals as thumbnails</translation>
    </message>
    <message>
        <source>幻灯片模式浏览原图</source>
        <translation>Slideshow of originals</translation>
    </message>
    <message>
        <source>实时预览</source>
        <translation>Live preview</translation>
    </message>
    <message>
        <source>设置(&amp;S)</source>
        <translation>&amp;Settings</translation>
    </message>
    <message>
        <source>选项...</source>
        <translation>Options...</translation>
    </message>
    <message>
        <source>PDF参数设置...</source>
        <translation>PDF settings...</translation>
    </message>
    <message>
        <source>帮助(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>使用指南</source>
        <translation>User guide</translation>
    </message>
    <message>
        <source>关于Tuvo...</source>
        <translation>About Tuvo...</translation>
    </message>
    <message>
        <source>【操作错误】找不到</source>
        <translation>[Error] Cannot find the file </translation>
    </message>
    <message>
        <source>文件。</source>
        <translation>.</translation>
    </message>
    <message>
        <source>【提示】选择输出文件夹,处理好的图片将存放到该文件夹。</source>
        <translation>[Info] Choose the output folder; the processed pictures will be stored there.</translation>
    </message>
    <message>
        <source>【提示】设置文字水印。</source>
        <translation>[Info] Set the text watermark.</translation>
    </message>
    <message>
        <source>【提示】请根据需要设置相关参数。</source>
        <translation>[Info] Please set the options as you need.</translation>
    </message>
    <message>
        <source>Tuvo图片批量处理
版本： </source>
        <translation>Tuvo Batch Picture Processing
Version: </translation>
    </message>
    <message>
        <source>
时间： </source>
        <translation>
Date: </translation>
    </message>
    <message>
        <source>皮肤(&amp;K)</source>
        <translation>S&amp;kin</translation>
    </message>
    <message>
        <source>更多皮肤...</source>
        <translation>More skins...</translation>
    </message>
    <message>
        <source>【操作错误】当前没有图片可以浏览。</source>
        <translation>[Error] There is no picture to browse.</translation>
    </message>
    <message>
        <source>图片尺寸不能同时为0！</source>
        <translation>The picture width and height cannot both be 0!</translation>
    </message>
    <message>
        <source>【操作错误】没有可预览的图片。</source>
        <translation>[Error] There is no picture to preview.</translation>
    </message>
    <message>
        <source>【提示】正在启动多图浏览模式，请稍后……</source>
        <translation>[Info] Starting thumbnail browsing, please wait...</translation>
    </message>
    <message>
        <source>添加图片后，这里显示处理后的效果
（滚动鼠标滚轮可切换列表中的图片）</source>
        <translation>Add pictures to see the processed result here
(scroll the mouse wheel to switch between the pictures of the list)</translation>
    </message>
    <message>
        <source>更新中…</source>
        <translation>Updating…</translation>
    </message>
    <message>
        <source>是</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>否</source>
        <translation>No</translation>
    </message>
    <message>
        <source>黑色</source>
        <translation>Black</translation>
    </message>
    <message>
        <source>白色</source>
        <translation>White</translation>
    </message>
    <message>
        <source>灰色</source>
        <translation>Grey</translation>
    </message>
    <message>
        <source>红色</source>
        <translation>Red</translation>
    </message>
    <message>
        <source>蓝色</source>
        <translation>Blue</translation>
    </message>
    <message>
        <source>绿色</source>
        <translation>Green</translation>
    </message>
    <message>
        <source>黄色</source>
        <translation>Yellow</translation>
    </message>
    <message>
        <source>适合屏幕</source>
        <translation>Fit to screen</translation>
    </message>
    <message>
        <source>原始大小</source>
        <translation>Actual size</translation>
    </message>
    <message>
        <source>复制图像</source>
        <translation>Copy image</translation>
    </message>
    <message>
        <source>设为桌面</source>
        <translation>Set as wallpaper</translation>
    </message>
    <message>
        <source>拉伸</source>
        <translation>Stretch</translation>
    </message>
    <message>
        <source>平铺</source>
        <translation>Tile</translation>
    </message>
    <message>
        <source>多图列表浏览</source>
        <translation>Thumbnails</translation>
    </message>
    <message>
        <source>幻灯片浏览</source>
        <translation>Slideshow</translation>
    </message>
    <message>
        <source>播放速度设置...</source>
        <translation>Slideshow speed...</translation>
    </message>
    <message>
        <source>背景颜色设置</source>
        <translation>Background colour</translation>
    </message>
    <message>
        <source>退出全屏   ESC</source>
        <translation>Leave full screen   ESC</translation>
    </message>
    <message>
        <source>【提示】按住鼠标左键拖动选择裁剪的区域。</source>
        <translation>[Info] Drag with the left mouse button to select the area to crop.</translation>
    </message>
    <message>
        <source>请选择下一步操作</source>
        <translation>Please choose the next step</translation>
    </message>
    <message>
        <source>重新裁剪</source>
        <translation>Crop again</translation>
    </message>
    <message>
        <source>复制剪贴区域</source>
        <translation>Copy selection</translation>
    </message>
    <message>
        <source>确定裁剪</source>
        <translation>Crop</translation>
    </message>
    <message>
        <source>退出裁剪</source>
        <translation>Leave crop</translation>
    </message>
    <message>
        <source>确认裁剪并添加到图片批处理列表吗？</source>
        <translation>Crop and add the result to the batch list?</translation>
    </message>
    <message>
        <source>【操作错误】裁剪的图片无法保存：</source>
        <translation>[Error] The cropped picture cannot be saved: </translation>
    </message>
    <message>
        <source>【操作错误】无法打开图片：</source>
        <translation>[Error] Cannot open the picture: </translation>
    </message>
    <message>
        <source>幻灯</source>
        <translation>Slides</translation>
    </message>
    <message>
        <source>返回</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>请输入幻灯片时间间隔(单位:秒)</source>
        <translation>Please enter the slideshow interval (seconds)</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>【操作错误】当前桌面环境不支持设置墙纸（支持 GNOME、Xfce，或安装 feh）。</source>
        <translation>[Error] This desktop does not support setting the wallpaper (GNOME and Xfce do, or install feh).</translation>
    </message>
    <message>
        <source>【操作错误】墙纸图片无法保存：</source>
        <translation>[Error] The wallpaper picture cannot be saved: </translation>
    </message>
    <message>
        <source>正在停止: 正在处理的图片完成后结束(再按一次 Ctrl-C 立即退出)。</source>
        <translation>Stopping: ends once the pictures in progress are done (press Ctrl-C again to quit at once).</translation>
    </message>
    <message>
        <source>原格式</source>
        <translation>Original</translation>
    </message>
    <message>
        <source>#当前日期#</source>
        <translation>#date#</translation>
    </message>
    <message>
        <source>#当前时间#</source>
        <translation>#time#</translation>
    </message>
    <message>
        <source>#日期和时间#</source>
        <translation>#date and time#</translation>
    </message>
    <message>
        <source>语言</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>跟随系统</source>
        <translation>Follow the system</translation>
    </message>
    <message>
        <source>【提示】语言将在下次启动Tuvo时改变。</source>
        <translation>[Info] The language changes the next time Tuvo starts.</translation>
    </message>
    <message>
        <source>一键美容</source>
        <translation>One-click beauty</translation>
    </message>
    <message>
        <source>棱角分明</source>
        <translation>Sharpen</translation>
    </message>
    <message>
        <source>暖黄记忆</source>
        <translation>Warm memories</translation>
    </message>
    <message>
        <source>华贵绛紫</source>
        <translation>Noble purple</translation>
    </message>
    <message>
        <source>棕褐怀旧</source>
        <translation>Sepia nostalgia</translation>
    </message>
    <message>
        <source>夜色朦胧</source>
        <translation>Misty night</translation>
    </message>
    <message>
        <source>陈旧往事</source>
        <translation>Old times</translation>
    </message>
    <message>
        <source>扫描线</source>
        <translation>Scan lines</translation>
    </message>
    <message>
        <source>浮雕</source>
        <translation>Emboss</translation>
    </message>
    <message>
        <source>灰度</source>
        <translation>Greyscale</translation>
    </message>
    <message>
        <source>黑白</source>
        <translation>Black and white</translation>
    </message>
    <message>
        <source>底片</source>
        <translation>Negative</translation>
    </message>
    <message>
        <source>#JPG照片拍摄时间#</source>
        <translation>#exif-time#</translation>
    </message>
    <message>
        <source>#图片原文件名#</source>
        <translation>#file-name#</translation>
    </message>
    <message>
        <source>无法读取文件列表: </source>
        <translation>Cannot read the file list: </translation>
    </message>
    <message>
        <source>(不写)</source>
        <translation>(not written)</translation>
    </message>
    <message>
        <source>用法: tuvo [图片...]
Tuvo图片批量处理 - 桌面程序。命令行上的图片加入文件列表; 已有Tuvo在运行时,
图片交给那个窗口, 本次启动随即结束。没有窗口的批量处理见 tuvo-cli(1)。

  -h, --help     显示本帮助后退出
      --version  显示版本后退出

环境变量:
  TUVO_HOME      输出文件夹 zp、工作文件夹 user 和设置文件 tuvo.ini 放在这里;
                 边框、水印、皮肤和 size.ini 仍从安装的数据文件夹读取
  LANG, LC_ALL, LC_CTYPE  需要UTF-8的区域设置(C.UTF-8即可)

文件(安装后):
  /usr/share/tuvo/        只读数据: bk(边框) sy(水印) skin(皮肤) size.ini 使用必读.txt
  ~/.local/share/tuvo/    zp(默认输出文件夹) 和 user(程序自己的文件)
  ~/.config/tuvo/tuvo.ini 设置
</source>
        <translation>Usage: tuvo [PICTURE...]
Tuvo batch picture processing - desktop program. Pictures on the command line join the file list; when Tuvo
is already running, the pictures go to that window and this start ends. For batch runs without a window see tuvo-cli(1).

  -h, --help     show this help and exit
      --version  show the version and exit

Environment:
  TUVO_HOME      the output folder zp, the work folder user and the settings file tuvo.ini go here;
                 frames, watermarks, skins and size.ini are still read from the installed data folder
  LANG, LC_ALL, LC_CTYPE  a UTF-8 locale is needed (C.UTF-8 will do)
  LANGUAGE, LC_MESSAGES   English or Chinese (zh_*, C) interface; Settings &gt; Language overrides

Files (once installed):
  /usr/share/tuvo/        read-only data: bk (frames) sy (watermarks) skin (skins) size.ini and the read-me
  ~/.local/share/tuvo/    zp (default output folder) and user (the program&apos;s own files)
  ~/.config/tuvo/tuvo.ini settings
</translation>
    </message>
    <message>
        <source>无法加载边框图片</source>
        <translation>Cannot load the frame picture </translation>
    </message>
    <message>
        <source>添加特效时无法分配内存</source>
        <translation>Out of memory while adding the effect</translation>
    </message>
    <message>
        <source>不是普通文件</source>
        <translation>Not a regular file</translation>
    </message>
    <message>
        <source>子文件夹名无效:</source>
        <translation>Invalid subfolder name: </translation>
    </message>
    <message>
        <source>不是文件夹(链接不会被跟随)</source>
        <translation> is not a folder (links are not followed)</translation>
    </message>
    <message>
        <source>PNG编码器无法启动</source>
        <translation>The PNG encoder could not start</translation>
    </message>
    <message>
        <source>WebP编码器无法启动</source>
        <translation>The WebP encoder could not start</translation>
    </message>
    <message>
        <source>WebP编码失败(错误%1)</source>
        <translation>WebP encoding failed (error %1)</translation>
    </message>
    <message>
        <source>HEIF数据有误:</source>
        <translation>Bad HEIF data: </translation>
    </message>
    <message>
        <source>HEIF解码器无法启动</source>
        <translation>The HEIF decoder could not start</translation>
    </message>
    <message>
        <source>HEIF图片无法解码</source>
        <translation>The HEIF picture cannot be decoded</translation>
    </message>
    <message>
        <source>没有HEVC编码器</source>
        <translation>No HEVC encoder</translation>
    </message>
    <message>
        <source>没有AV1编码器</source>
        <translation>No AV1 encoder</translation>
    </message>
    <message>
        <source>旋转图片时无法分配内存</source>
        <translation>Out of memory while rotating the picture</translation>
    </message>
    <message>
        <source>文件名前缀不能包含路径分隔符(/ 或 \)！</source>
        <translation>The file name prefix must not contain a path separator (/ or \)!</translation>
    </message>
    <message>
        <source>【提示】%1和%2的输出文件同名(%3),只保存了后者。<byte value="xd"/>
</source>
        <translation>[Info] %1 and %2 have the same output file name (%3); only the latter was saved.<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>【提示】%1的输出文件%2已存在,没有覆盖,跳过了这张图片。<byte value="xd"/>
</source>
        <translation>[Info] The output file %2 of %1 exists already; it was not overwritten and the picture was skipped.<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>输出文件%1已存在</source>
        <translation>The output file %1 exists already</translation>
    </message>
    <message>
        <source>服务器不支持加密,按设置没有登录(密码未发送)。</source>
        <translation>The server does not support encryption; as set, Tuvo did not log in (the password was not sent).</translation>
    </message>
    <message>
        <source>服务器证书无法验证,连接被拒绝。</source>
        <translation>The server&apos;s certificate could not be verified; the connection was refused.</translation>
    </message>
    <message>
        <source>服务器公钥与账户中固定的指纹不符,连接被拒绝。</source>
        <translation>The server&apos;s public key does not match the fingerprint pinned in the account; the connection was refused.</translation>
    </message>
    <message>
        <source>服务器主机密钥与known_hosts中的记录不符,连接被拒绝。</source>
        <translation>The server&apos;s host key differs from the one recorded in known_hosts; the connection was refused.</translation>
    </message>
    <message>
        <source>未知的主机密钥%1,确认无误后请在账户中接受它(--ftp-accept-host-key)。</source>
        <translation>Unknown host key %1; once you have checked it, accept it in the account (--ftp-accept-host-key).</translation>
    </message>
    <message>
        <source>警告:服务器不支持加密,本次上传的密码和图片以明文传输。</source>
        <translation>Warning: the server does not support encryption; the password and the pictures of this upload are sent in clear text.</translation>
    </message>
    <message>
        <source>不是普通文件,设置未读取也不会保存。</source>
        <translation>not a regular file; the settings were not read and will not be saved.</translation>
    </message>
    <message>
        <source>覆盖</source>
        <translation>Overwrite</translation>
    </message>
    <message>
        <source>自动编号(名称_2、名称_3…)</source>
        <translation>Number them (name_2, name_3…)</translation>
    </message>
    <message>
        <source>跳过,保留原有文件</source>
        <translation>Skip, keep the existing file</translation>
    </message>
    <message>
        <source>报错</source>
        <translation>Report an error</translation>
    </message>
    <message>
        <source>输出文件夹中已有同名文件时:</source>
        <translation>When the output folder has a file of the same name:</translation>
    </message>
    <message>
        <source>要求加密(服务器不支持TLS时不发送密码)</source>
        <translation>Require encryption (the password is not sent when the server lacks TLS)</translation>
    </message>
    <message>
        <source>CA证书文件:</source>
        <translation>CA certificate file:</translation>
    </message>
    <message>
        <source>自签名服务器的证书(PEM)</source>
        <translation>a self-signed server&apos;s certificate (PEM)</translation>
    </message>
    <message>
        <source>公钥指纹:</source>
        <translation>Public key fingerprint:</translation>
    </message>
    <message>
        <source>服务器公钥的SHA-256</source>
        <translation>SHA-256 of the server&apos;s public key</translation>
    </message>
    <message>
        <source>SSH私钥:</source>
        <translation>SSH private key:</translation>
    </message>
    <message>
        <source>接受主机密钥:</source>
        <translation>Accept host key:</translation>
    </message>
    <message>
        <source>连接方式: </source>
        <translation>Connection: </translation>
    </message>
    <message>
        <source>SFTP(SSH加密)</source>
        <translation>SFTP (SSH encryption)</translation>
    </message>
    <message>
        <source>FTP over TLS(必须加密)</source>
        <translation>FTP over TLS (encryption required)</translation>
    </message>
    <message>
        <source>FTP(服务器支持时使用TLS)</source>
        <translation>FTP (TLS when the server supports it)</translation>
    </message>
    <message>
        <source>;上次连接已加密</source>
        <translation>; the last connection was encrypted</translation>
    </message>
    <message>
        <source>;上次连接未加密</source>
        <translation>; the last connection was not encrypted</translation>
    </message>
    <message>
        <source>无法创建文件夹%1:%2</source>
        <translation>Cannot create the folder %1: %2</translation>
    </message>
    <message>
        <source>适应框内</source>
        <translation>Fit inside</translation>
    </message>
    <message>
        <source>无法读取作业文件%1:%2</source>
        <translation>Cannot read the job file %1: %2</translation>
    </message>
    <message>
        <source>作业文件%1太大,不是作业文件。</source>
        <translation>The job file %1 is too large to be a job file.</translation>
    </message>
    <message>
        <source>作业文件%1不是文本,未载入。</source>
        <translation>The job file %1 is not text; nothing was loaded.</translation>
    </message>
    <message>
        <source>%1不是Tuvo作业文件(缺少Version),未载入。</source>
        <translation>%1 is not a Tuvo job file (no Version); nothing was loaded.</translation>
    </message>
    <message>
        <source>作业文件的版本%1比本程序认识的版本新,只载入了认识的设置项。</source>
        <translation>The job file is version %1, newer than this program knows; only the settings it knows were loaded.</translation>
    </message>
    <message>
        <source>作业文件中下列设置项未被载入:%1</source>
        <translation>These settings of the job file were not loaded: %1</translation>
    </message>
    <message>
        <source>作业文件中%1的值“%2”不可用,已保留原值。</source>
        <translation>The value “%2” of %1 in the job file cannot be used; the current value was kept.</translation>
    </message>
    <message>
        <source>作业中的边框图片不存在,已改为无边框:%1</source>
        <translation>The job’s frame picture does not exist, so no frame is used: %1</translation>
    </message>
    <message>
        <source>作业中的水印图片不存在,已取消图片水印:%1</source>
        <translation>The job’s watermark picture does not exist, so the picture watermark is off: %1</translation>
    </message>
    <message>
        <source>本机的size.ini中没有尺寸“%1”,已改用自定义尺寸。</source>
        <translation>This machine’s size.ini has no size “%1”; the custom size is used instead.</translation>
    </message>
    <message>
        <source>无法保存作业文件%1:%2</source>
        <translation>Cannot save the job file %1: %2</translation>
    </message>
    <message>
        <source>找不到作业预设“%1”</source>
        <translation>No job preset named “%1”</translation>
    </message>
    <message>
        <source>保存当前作业...</source>
        <translation>Save current job...</translation>
    </message>
    <message>
        <source>载入作业...</source>
        <translation>Load job...</translation>
    </message>
    <message>
        <source>管理作业...</source>
        <translation>Manage jobs...</translation>
    </message>
    <message>
        <source>已保存的作业</source>
        <translation>Saved jobs</translation>
    </message>
    <message>
        <source>请输入作业名称:</source>
        <translation>Job name:</translation>
    </message>
    <message>
        <source>作业名称“%1”不能为空,也不能包含 / 或以 . 开头。</source>
        <translation>The job name “%1” must not be empty, contain / or start with a dot.</translation>
    </message>
    <message>
        <source>作业中包括输出文件夹吗？</source>
        <translation>Include the output folder in the job?</translation>
    </message>
    <message>
        <source>作业“%1”已存在,替换吗？</source>
        <translation>The job “%1” exists already. Replace it?</translation>
    </message>
    <message>
        <source>【提示】已保存作业:%1</source>
        <translation>[Info] Job saved: %1</translation>
    </message>
    <message>
        <source>【提示】已载入作业:%1</source>
        <translation>[Info] Job loaded: %1</translation>
    </message>
    <message>
        <source>Tuvo作业 (*.ini)</source>
        <translation>Tuvo jobs (*.ini)</translation>
    </message>
    <message>
        <source>重命名...</source>
        <translation>Rename...</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>导出...</source>
        <translation>Export...</translation>
    </message>
    <message>
        <source>导入...</source>
        <translation>Import...</translation>
    </message>
    <message>
        <source>确实要删除作业“%1”吗？</source>
        <translation>Delete the job “%1”?</translation>
    </message>
    <message>
        <source>【提示】作业和它的边框、水印图片已导出到%1</source>
        <translation>[Info] The job and its frame and watermark pictures were exported to %1</translation>
    </message>
    <message>
        <source>输入和输出</source>
        <translation>Input and output</translation>
    </message>
    <message>
        <source>格式和文件名</source>
        <translation>Format and file names</translation>
    </message>
    <message>
        <source>作业</source>
        <translation>Jobs</translation>
    </message>
    <message>
        <source>尺寸</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>边框和水印</source>
        <translation>Frame and watermarks</translation>
    </message>
    <message>
        <source>调整和特效</source>
        <translation>Adjustments and effects</translation>
    </message>
    <message>
        <source>完成后</source>
        <translation>When done</translation>
    </message>
    <message>
        <source>上传</source>
        <translation>Upload</translation>
    </message>
    <message>
        <source>脚本和多台机器</source>
        <translation>Scripts and several machines</translation>
    </message>
    <message>
        <source>其他</source>
        <translation>Other</translation>
    </message>
    <message>
        <source>用法: tuvo-cli [选项] 输入...</source>
        <translation>Usage: tuvo-cli [OPTION]... INPUT...</translation>
    </message>
    <message>
        <source>请用 tuvo-cli --help 查看全部选项。</source>
        <translation>Try tuvo-cli --help for all options.</translation>
    </message>
    <message>
        <source>已停止: 写出 %1/%2 张图片</source>
        <translation>Stopped: %1 of %2 pictures written</translation>
    </message>
    <message>
        <source>写出 %1/%2 张图片</source>
        <translation>%1 of %2 pictures written</translation>
    </message>
    <message>
        <source>, 上传 %1/%2</source>
        <translation>, %1 of %2 uploaded</translation>
    </message>
    <message>
        <source>输出文件夹, 必须已存在(默认: 用户文件夹下的 zp)</source>
        <translation>output folder, which must exist (default: zp in the per-user folder)</translation>
    </message>
    <message>
        <source>文件夹包括子文件夹</source>
        <translation>folders include their subfolders</translation>
    </message>
    <message>
        <source>同时处理的图片数, 1到64(默认: CPU核数)</source>
        <translation>pictures processed at the same time, 1 to 64 (default: number of CPU cores)</translation>
    </message>
    <message>
        <source>从桌面程序保存的设置开始</source>
        <translation>start from the settings the desktop program saved</translation>
    </message>
    <message>
        <source>按设置名设置任意作业字段(如 --set iJPGQ=85)</source>
        <translation>set any job field by its settings name (e.g. --set iJPGQ=85)</translation>
    </message>
    <message>
        <source>不显示进度行和最后的汇总行(错误报告仍然输出)</source>
        <translation>no progress line and no closing summary line (error reports are still printed)</translation>
    </message>
    <message>
        <source>整个运行处理图片最多可用的内存, 16到65536; 图片等到内存够用再处理, 单独就超过的图片记为错误</source>
        <translation>memory the whole run may use for pictures, 16 to 65536; pictures wait until enough is free, one that alone needs more is an error</translation>
    </message>
    <message>
        <source>服务器答复:%1</source>
        <translation>the server replied: %1</translation>
    </message>
    <message>
        <source>图片的元数据太大(读取约需%1MB),超过了内存上限%2MB</source>
        <translation>the picture&apos;s metadata is too large (reading it needs about %1 MB), more than the memory limit of %2 MB</translation>
    </message>
    <message>
        <source>先载入名为 NAME 的作业(用户的 presets 文件夹, 然后安装的 presets)</source>
        <translation>load the job named NAME first (the user&apos;s presets folder, then the installed presets)</translation>
    </message>
    <message>
        <source>先载入作业文件; 其余选项再改动单个设置</source>
        <translation>load a job file first; the other options then change single settings</translation>
    </message>
    <message>
        <source>把命令行描述的作业写入 FILE, 不处理图片</source>
        <translation>write the job the command line describes to FILE, process no picture</translation>
    </message>
    <message>
        <source>从文件读入输入列表, 每行一个路径(&quot;-&quot; 为标准输入)</source>
        <translation>read the inputs from FILE, one path a line (&quot;-&quot; is standard input)</translation>
    </message>
    <message>
        <source>列表以NUL分隔(find -print0)</source>
        <translation>the list is separated by NUL (find -print0)</translation>
    </message>
    <message>
        <source>只处理列表位置 p mod N = K-1 的图片, 文件名和编号按整个列表</source>
        <translation>process only the pictures at list position p with p mod N = K-1; names and numbers follow the whole list</translation>
    </message>
    <message>
        <source>%1 不是 K/N (1 ≤ K ≤ N)</source>
        <translation>%1 is not K/N (1 ≤ K ≤ N)</translation>
    </message>
    <message>
        <source>改名顺序号从N开始</source>
        <translation>start the sequence number of --rename at N</translation>
    </message>
    <message>
        <source>与 -R 一起: 在输出文件夹中保留子文件夹结构</source>
        <translation>with -R: keep the subfolder structure in the output folder</translation>
    </message>
    <message>
        <source>每张图片一行JSON(标准输出), 最后一行汇总</source>
        <translation>one JSON line per picture (standard output), a summary as the last line</translation>
    </message>
    <message>
        <source>只列出将要写出的文件; 读取每张图片的文件头, 不处理图片</source>
        <translation>only list the files that would be written; every picture&apos;s header is read, no picture processed</translation>
    </message>
    <message>
        <source>列出每个文件的EXIF项(每行 &quot;标签&lt;TAB&gt;值&quot;)后退出</source>
        <translation>list each file&apos;s EXIF entries (one &quot;tag&lt;TAB&gt;value&quot; a line) and exit</translation>
    </message>
    <message>
        <source>显示本帮助</source>
        <translation>show this help</translation>
    </message>
    <message>
        <source>显示版本</source>
        <translation>show the version</translation>
    </message>
    <message>
        <source>未知的选项 %1 (tuvo-cli --help 列出全部选项)</source>
        <translation>unknown option %1 (tuvo-cli --help lists every option)</translation>
    </message>
    <message>
        <source>缺少值 %1</source>
        <translation>the value %1 is missing</translation>
    </message>
    <message>
        <source>这个选项不带值</source>
        <translation>this option takes no value</translation>
    </message>
    <message>
        <source>需要 KEY=VALUE 的形式</source>
        <translation>needs the form KEY=VALUE</translation>
    </message>
    <message>
        <source>未知的设置项 %1</source>
        <translation>unknown setting %1</translation>
    </message>
    <message>
        <source>limit-width 只用宽度 -W; 要限制高度请用 --size custom 或 fit</source>
        <translation>limit-width uses the width -W alone; to limit the height use --size custom or fit</translation>
    </message>
    <message>
        <source>custom 和 fit 需要同时给出 -W 和 -H</source>
        <translation>custom and fit need both -W and -H</translation>
    </message>
    <message>
        <source>%1 不是 #RRGGBB 形式的颜色</source>
        <translation>%1 is not a colour of the form #RRGGBB</translation>
    </message>
    <message>
        <source>尺寸: limit-width(默认, 宽度为W, 高度按比例) | fit-frame | original | custom(W×H) | fit(最长边放入W×H框内, 不剪切不扩充) | size.ini 中的预设名或其尺寸(如 295x413)</source>
        <translation>size: limit-width (default: width W, height in proportion) | fit-frame | original | custom (W×H) | fit (the longest side fits inside W×H, nothing cropped or added) | a preset of size.ini by name or by its dimensions (e.g. 295x413)</translation>
    </message>
    <message>
        <source>即 --size fit -W N -H N</source>
        <translation>the same as --size fit -W N -H N</translation>
    </message>
    <message>
        <source>文字水印; 整段为 #当前日期# #当前时间# #JPG照片拍摄时间# #图片原文件名# (或 #date# #time# #exif-time# #file-name#) 时按图片替换</source>
        <translation>text watermark; a whole text of #date# #time# #exif-time# #file-name# is replaced per picture</translation>
    </message>
    <message>
        <source>文字水印的字号(默认%1)</source>
        <translation>font size of the text watermark (default %1)</translation>
    </message>
    <message>
        <source>文字水印的字体(默认宋体)</source>
        <translation>font of the text watermark (default: a Song typeface)</translation>
    </message>
    <message>
        <source>文字水印的颜色(默认黑色)</source>
        <translation>colour of the text watermark (default black)</translation>
    </message>
    <message>
        <source>图片水印的不透明度(默认%1)</source>
        <translation>opacity of the picture watermark (default %1)</translation>
    </message>
    <message>
        <source>JPG图片质量(默认%1)</source>
        <translation>JPG quality (default %1)</translation>
    </message>
    <message>
        <source>比例不同时扩充画布(默认剪切图片)</source>
        <translation>extend the canvas when the proportions differ (default: crop the picture)</translation>
    </message>
    <message>
        <source>有错误时在输出文件夹写 ErrorLog.txt</source>
        <translation>write ErrorLog.txt into the output folder when there were errors</translation>
    </message>
    <message>
        <source>剪切时保留的部分(默认middle)</source>
        <translation>the part a crop keeps (default middle)</translation>
    </message>
    <message>
        <source>剪切时保留的部分(默认top)</source>
        <translation>the part a crop keeps (default top)</translation>
    </message>
    <message>
        <source>小图片不放大</source>
        <translation>do not enlarge small pictures</translation>
    </message>
    <message>
        <source>EXIF/XMP/IPTC: 全部保留 | 去掉位置信息(默认) | 全部去掉</source>
        <translation>EXIF/XMP/IPTC: keep all | drop the location (default) | drop all</translation>
    </message>
    <message>
        <source>保留并嵌入原图的颜色配置文件(默认) | 转换为 sRGB</source>
        <translation>keep and embed the source&apos;s colour profile (default) | convert to sRGB</translation>
    </message>
    <message>
        <source>输出文件已存在或与本次先前的图片同名时: 覆盖(默认, 后面的图片为准) | 编号 name_2 | 跳过 | 记为错误</source>
        <translation>when an output file exists or an earlier picture of the run has the same name: overwrite (default, the later picture wins) | number it name_2 | skip | fail with an error line</translation>
    </message>
    <message>
        <source>目标宽度(像素)</source>
        <translation>target width (pixels)</translation>
    </message>
    <message>
        <source>目标高度(像素), 用于 custom、fit 和预设</source>
        <translation>target height (pixels), for custom, fit and presets</translation>
    </message>
    <message>
        <source>边框图片(PNG)</source>
        <translation>frame picture (PNG)</translation>
    </message>
    <message>
        <source>bottom-right|bottom-left|top-left|top-right|center|X,Y (文字左上角, 宽高的比例), 默认%1</source>
        <translation>bottom-right|bottom-left|top-left|top-right|center|X,Y (the text&apos;s top-left corner, as fractions of width and height), default %1</translation>
    </message>
    <message>
        <source>同 --text-pos, 默认%1; X,Y 为水印中心</source>
        <translation>like --text-pos, default %1; X,Y is the watermark&apos;s centre</translation>
    </message>
    <message>
        <source>图片水印的大小(默认0: 原大)</source>
        <translation>size of the picture watermark (default 0: its own size)</translation>
    </message>
    <message>
        <source>图片在画布上的左边和上边</source>
        <translation>left and top of the picture on the canvas</translation>
    </message>
    <message>
        <source>5×5颜色矩阵, 25个用逗号分隔的数, 按行</source>
        <translation>5×5 colour matrix, 25 comma-separated numbers, by rows</translation>
    </message>
    <message>
        <source>颜色通道系数</source>
        <translation>colour channel factors</translation>
    </message>
    <message>
        <source>照片按EXIF方向摆正后再旋转: none 和 auto 不再旋转; flip-tb 上下翻转, flip-lr 左右翻转</source>
        <translation>turn after the photo is set upright by its EXIF orientation: none and auto add no turn; flip-tb turns top to bottom, flip-lr left to right</translation>
    </message>
    <message>
        <source>none|beauty|sharpen|flame|purple|brown|night|spooky|scanlines|emboss|grey|mono|invert</source>
        <translation>none|beauty|sharpen|flame|purple|brown|night|spooky|scanlines|emboss|grey|mono|invert</translation>
    </message>
    <message>
        <source>亮度</source>
        <translation>brightness</translation>
    </message>
    <message>
        <source>输出格式(默认jpg); original: 原格式, HEIC/HEIF 写成 HEIC, 相机RAW 写成 JPG; 透明处为白色</source>
        <translation>output format (default jpg); original: the source&apos;s format, HEIC/HEIF written as HEIC, camera RAW written as JPG; transparent parts become white</translation>
    </message>
    <message>
        <source>统一文件名: PREFIX + 顺序号</source>
        <translation>uniform file names: PREFIX + sequence number</translation>
    </message>
    <message>
        <source>顺序号位数(默认%1)</source>
        <translation>digits of the sequence number (default %1)</translation>
    </message>
    <message>
        <source>上传写出的图片并生成链接页 PicURL.htm (密码取自环境变量 TUVO_FTP_PASSWORD)</source>
        <translation>upload the written pictures and write the link page PicURL.htm (the password comes from the environment variable TUVO_FTP_PASSWORD)</translation>
    </message>
    <message>
        <source>把写出的图片做成一个PDF文件</source>
        <translation>make one PDF file of the written pictures</translation>
    </message>
    <message>
        <source>FTP服务器, 或 sftp://HOST[:PORT]; FTP 总是先尝试 TLS 加密</source>
        <translation>FTP server, or sftp://HOST[:PORT]; FTP always tries TLS encryption first</translation>
    </message>
    <message>
        <source>用户名</source>
        <translation>user name</translation>
    </message>
    <message>
        <source>服务器上的文件夹</source>
        <translation>folder on the server</translation>
    </message>
    <message>
        <source>其中本次上传的子文件夹</source>
        <translation>subfolder in it for this upload</translation>
    </message>
    <message>
        <source>该文件夹的网址, 用于链接页</source>
        <translation>web address of that folder, for the link page</translation>
    </message>
    <message>
        <source>被动模式</source>
        <translation>passive mode</translation>
    </message>
    <message>
        <source>服务器不支持加密时不登录(不发送密码)</source>
        <translation>do not log in (nor send the password) when the server does not support encryption</translation>
    </message>
    <message>
        <source>用FILE中的证书验证FTPS服务器</source>
        <translation>verify the FTPS server with the certificates in FILE</translation>
    </message>
    <message>
        <source>信任公钥SHA-256为此值的FTPS服务器(sha256//BASE64 或十六进制)</source>
        <translation>trust the FTPS server whose public key has this SHA-256 (sha256//BASE64 or hexadecimal)</translation>
    </message>
    <message>
        <source>SFTP私钥(默认 ~/.ssh/id_ed25519 或 id_rsa)</source>
        <translation>SFTP private key (default ~/.ssh/id_ed25519 or id_rsa)</translation>
    </message>
    <message>
        <source>接受 known_hosts 中尚未记录的SFTP主机密钥</source>
        <translation>accept an SFTP host key that known_hosts does not hold yet</translation>
    </message>
    <message>
        <source>设置项%1的值“%2”不在%3之内,已改用默认值%4。</source>
        <translation>The stored value “%2” of %1 is not in %3; the default %4 is used instead.</translation>
    </message>
    <message>
        <source>%1 不在 %2 之内</source>
        <translation>%1 is not in %2</translation>
    </message>
    <message>
        <source>“%1”不是数字</source>
        <translation>“%1” is not a number</translation>
    </message>
    <message>
        <source>“%1”不是 %2 之一</source>
        <translation>“%1” is not one of %2</translation>
    </message>
    <message>
        <source>写出的图片保留原图片的修改时间</source>
        <translation>written pictures keep the modification time of their source</translation>
    </message>
    <message>
        <source>网页图片1200</source>
        <translation>Web picture 1200</translation>
    </message>
    <message>
        <source>方形1080</source>
        <translation>Square 1080</translation>
    </message>
    <message>
        <source>缩略图320</source>
        <translation>Thumbnail 320</translation>
    </message>
    <message>
        <source>证件照1寸</source>
        <translation>ID photo 1 inch</translation>
    </message>
    <message>
        <source>证件照2寸</source>
        <translation>ID photo 2 inch</translation>
    </message>
    <message>
        <source>证件照头像</source>
        <translation>ID photo head</translation>
    </message>
    <message>
        <source>【提示】本机没有HEVC编码器,按原格式应写成HEIC的图片已写成AVIF。<byte value="xd"/>
</source>
        <translation>[Info] This machine has no HEVC encoder: pictures that the original format would write as HEIC were written as AVIF.<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>输出图片保留原图片的修改时间。</source>
        <translation>Written pictures keep the modification time of their source.</translation>
    </message>
    <message>
        <source>文字水印用粗体</source>
        <translation>bold text watermark</translation>
    </message>
    <message>
        <source>文字水印用斜体</source>
        <translation>italic text watermark</translation>
    </message>
    <message>
        <source>文字水印加下划线</source>
        <translation>underlined text watermark</translation>
    </message>
    <message>
        <source>图片水印的图片文件</source>
        <translation>picture watermark: the picture file</translation>
    </message>
    <message>
        <source>输入或粘贴路径,按回车转到</source>
        <translation>Type or paste a path, then press Enter</translation>
    </message>
    <message>
        <source>位置:</source>
        <translation>Location:</translation>
    </message>
    <message>
        <source>宋体</source>
        <translation>SimSun</translation>
    </message>
    <message>
        <source>新宋体</source>
        <translation>NSimSun</translation>
    </message>
    <message>
        <source>黑体</source>
        <translation>SimHei</translation>
    </message>
    <message>
        <source>楷体</source>
        <translation>KaiTi</translation>
    </message>
    <message>
        <source>仿宋</source>
        <translation>FangSong</translation>
    </message>
    <message>
        <source>微软雅黑</source>
        <translation>Microsoft YaHei</translation>
    </message>
    <message>
        <source>ftp.example.com 或 主机:端口; sftp://主机 使用SFTP</source>
        <translation>ftp.example.com or host:port; sftp://host for SFTP</translation>
    </message>
    <message>
        <source>主机名或 主机:端口 使用FTP(服务器支持时加密);以 sftp:// 开头则使用SFTP(SSH),默认端口22。</source>
        <translation>A host name or host:port uses FTP (encrypted when the server supports it); a name starting with sftp:// uses SFTP (SSH), port 22 unless given.</translation>
    </message>
    <message>
        <source>【提示】图片不会上传到网络。</source>
        <translation>[Info] The pictures will not be uploaded.</translation>
    </message>
    <message>
        <source>无法显示该图片</source>
        <translation>This picture cannot be shown</translation>
    </message>
    <message>
        <source>浅蓝(默认)</source>
        <translation>Light blue (default)</translation>
    </message>
    <message>
        <source>暖阳橙</source>
        <translation>Warm orange</translation>
    </message>
    <message>
        <source>深邃黑</source>
        <translation>Deep black</translation>
    </message>
    <message>
        <source>清新绿</source>
        <translation>Fresh green</translation>
    </message>
    <message>
        <source>找不到&quot;%1&quot;。</source>
        <translation>Cannot find &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>Tuvo图片批量处理 - 命令行版。输入可以是图片文件、文件夹(其中的图片)或 .docx 文档(其中的图片); &quot;-&quot; 为标准输入的一张图片。</source>
        <translation>Tuvo batch picture processing - command line. An input is a picture file, a folder (its pictures) or a .docx document (its pictures); &quot;-&quot; is one picture from standard input.</translation>
    </message>
    <message>
        <source>退出状态: 0 没有错误; 1 有图片处理、保存或上传失败(错误报告输出到标准错误); 2 任务无法开始; 130 被 Ctrl-C 停止, 143 被 SIGTERM 停止(正在处理的图片写完)。</source>
        <translation>Exit status: 0 no errors; 1 a picture failed to process, save or upload (error report on standard error); 2 the job could not start; 130 stopped by Ctrl-C, 143 stopped by SIGTERM (the pictures in progress are finished).</translation>
    </message>
    <message>
        <source>示例:</source>
        <translation>Examples:</translation>
    </message>
    <message>
        <source>tuvo-cli -o out --text &apos;#JPG照片拍摄时间#&apos; --font 黑体 --font-size 24 --color &apos;#FFFFFF&apos; a.jpg</source>
        <translation>tuvo-cli -o out --text &apos;#exif-time#&apos; --font-size 24 --color &apos;#FFFFFF&apos; a.jpg</translation>
    </message>
    <message>
        <source>tuvo-cli -o out --mark logo.png --opacity 60 --mark-pos 0.9,0.9 --rename 旅行_ --digits 3 photos/</source>
        <translation>tuvo-cli -o out --mark logo.png --opacity 60 --mark-pos 0.9,0.9 --rename trip_ --digits 3 photos/</translation>
    </message>
    <message>
        <source>输出文件夹在输入文件夹%1之内, 其中的%2张图片不作为输入。</source>
        <translation>The output folder is inside the input folder %1; its %2 pictures are not taken as input.</translation>
    </message>
    <message>
        <source>【提示】本机没有HEVC编码器,按原格式应写成HEIC的图片将写成AVIF。</source>
        <translation>[Hint] There is no HEVC encoder here; pictures that the original format would write as HEIC would be written as AVIF.</translation>
    </message>
    <message>
        <source>【提示】%1和%2的输出文件同名(%3),将只保存后者。</source>
        <translation>[Hint] %1 and %2 would have the same output file (%3); only the latter would be saved.</translation>
    </message>
    <message>
        <source>【提示】%1的输出文件%2已存在,将跳过这张图片。</source>
        <translation>[Hint] The output file %2 of %1 exists already; this picture would be skipped.</translation>
    </message>
    <message>
        <source>(将失败)</source>
        <translation>(would fail)</translation>
    </message>
    <message>
        <source>没有 %1 时不起作用</source>
        <translation>has no effect without %1</translation>
    </message>
    <message>
        <source>没有安装字体“%1”, 文字将用默认字体写出</source>
        <translation>the font &quot;%1&quot; is not installed; the text is written in the default font</translation>
    </message>
    <message>
        <source>不是文件夹: </source>
        <translation>not a folder: </translation>
    </message>
    <message>
        <source>输出文件夹不能写入: </source>
        <translation>the output folder cannot be written to: </translation>
    </message>
    <message>
        <source>无法读取标准输入</source>
        <translation>cannot read standard input</translation>
    </message>
    <message>
        <source>标准输入不是认得的图片</source>
        <translation>standard input is no picture this program reads</translation>
    </message>
    <message>
        <source>图片写到标准输出时不能同时用 --json</source>
        <translation>--json cannot be used when the picture goes to standard output</translation>
    </message>
    <message>
        <source>&quot;-&quot; (标准输入) 只能是唯一的输入</source>
        <translation>&quot;-&quot; (standard input) must be the only input</translation>
    </message>
    <message>
        <source>标准输出</source>
        <translation>standard output</translation>
    </message>
    <message>
        <source>写到标准输出时只能处理一张图片, 这里有%1张</source>
        <translation>only one picture can be written to standard output, here are %1</translation>
    </message>
    <message>
        <source>无法写到标准输出</source>
        <translation>cannot write to standard output</translation>
    </message>
    <message>
        <source>文件名模板不能为空, 也不能含有 /</source>
        <translation>a name template can be neither empty nor hold /</translation>
    </message>
    <message>
        <source>文件名模板: %s 原文件名(不含扩展名), %n 顺序号(--digits 位), %e 原扩展名, %% 即 %; 如 --name &apos;%s_small&apos;</source>
        <translation>names from a template: %s the source&apos;s name without extension, %n the number (--digits digits), %e the source&apos;s extension, %% a %; e.g. --name &apos;%s_small&apos;</translation>
    </message>
    <message>
        <source>【提示】%1的元数据有误,输出文件中没有写入:%2。<byte value="xd"/>
</source>
        <translation>[Info] The metadata of %1 could not be read; the output was written without: %2.<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>, 为符合文件大小缩小 %1 张, 不符合 %2 张</source>
        <translation>, %1 scaled down to fit the file size, %2 outside it</translation>
    </message>
    <message>
        <source>写出的文件不大于 SIZE(如 200k, 1.5M 或字节数; 0 不限): 先降低质量, 尺寸不固定时再缩小</source>
        <translation>written files at most SIZE (200k, 1.5M or bytes; 0: no limit): lower quality first, then smaller where the size is not fixed</translation>
    </message>
    <message>
        <source>写出的文件不小于 SIZE: 提高质量, 最高到100</source>
        <translation>written files at least SIZE: higher quality, up to 100</translation>
    </message>
    <message>
        <source>为满足 --max-size 质量最低降到多少(默认30)</source>
        <translation>lowest quality --max-size may use (default 30)</translation>
    </message>
    <message>
        <source>为符合文件大小限制缩小了%1张图片,%2张不符合限制。</source>
        <translation> %1 pictures scaled down to fit the file size limit, %2 outside it.</translation>
    </message>
    <message>
        <source>质量降到%1时文件仍有%2</source>
        <translation>at quality %1 the file is still %2</translation>
    </message>
    <message>
        <source>文件有%1</source>
        <translation>the file is %1</translation>
    </message>
    <message>
        <source>, 超过上限%1, 没有写出</source>
        <translation>, over the limit of %1; not written</translation>
    </message>
    <message>
        <source>【提示】%1的输出文件只有%2, 小于下限%3。<byte value="xd"/>
</source>
        <translation>[Info] The output file of %1 is only %2, under the limit of %3.<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>网页图片300KB</source>
        <translation>Web picture 300 KB</translation>
    </message>
    <message>
        <source>输出文件大小只能是0-2097151之间的KB数(0为不限)。</source>
        <translation>The output file size must be a number of KB from 0 to 2097151 (0: no limit).</translation>
    </message>
    <message>
        <source>输出文件不大于</source>
        <translation>Output file at most</translation>
    </message>
    <message>
        <source>输出文件不小于</source>
        <translation>Output file at least</translation>
    </message>
    <message>
        <source>    已写入 %1 KB，质量 %2</source>
        <translation>    written %1 KB, quality %2</translation>
    </message>
    <message>
        <source>    已写入 %1 KB</source>
        <translation>    written %1 KB</translation>
    </message>
    <message>
        <source>监视时不能写到标准输出</source>
        <translation>a watch cannot write to standard output</translation>
    </message>
    <message>
        <source>处理文件夹中还没有输出的图片, 然后监视文件夹, 处理每张新到或被替换的图片, 直到 SIGINT/SIGTERM; 做过的记在输出文件夹的 .tuvo-watch 中</source>
        <translation>process the folders&apos; pictures that have no output yet, then watch the folders and process every picture that arrives or is replaced, until SIGINT/SIGTERM; what was done is kept in .tuvo-watch in the output folder</translation>
    </message>
    <message>
        <source>--watch 不能与 --pdf 同用: 监视的图片没有最后一张</source>
        <translation>--watch cannot be used with --pdf: a watched folder has no last picture</translation>
    </message>
    <message>
        <source>--watch 只能监视文件夹: </source>
        <translation>--watch watches folders only: </translation>
    </message>
    <message>
        <source>正在监视 %1 (Ctrl-C 结束)</source>
        <translation>Watching %1 (Ctrl-C ends)</translation>
    </message>
    <message>
        <source>监视结束: 处理了 %1 张图片</source>
        <translation>Watch ended: %1 pictures processed</translation>
    </message>
    <message>
        <source>监视文件夹…</source>
        <translation>Watch a folder…</translation>
    </message>
    <message>
        <source>监视文件夹</source>
        <translation>Watch a folder</translation>
    </message>
    <message>
        <source>停止监视</source>
        <translation>Stop watching</translation>
    </message>
    <message>
        <source>正在监视 %1: 已处理 %2 张图片</source>
        <translation>Watching %1: %2 pictures processed</translation>
    </message>
</context>
</TS>
