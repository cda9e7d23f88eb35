#include "app/cli_options.h"

#include <QCoreApplication>

QString cliHelpText()
{
    return QCoreApplication::translate("tuvo", R"(用法: tuvo-cli [选项] 输入...
Tuvo图片批量处理 - 命令行版。输入可以是图片文件、文件夹(其中的图片)或 .docx 文档(其中的图片)。

输入和输出:
  -o, --output DIR        输出文件夹(默认: 程序文件夹下的 zp)
  -R, --recursive         文件夹包括子文件夹
  -j, --jobs N            同时处理的图片数(默认: CPU核数)
      --from-settings     从桌面程序保存的设置开始
      --set KEY=VALUE     按设置名或字段名设置任意选项(如 --set iJPGQ=85)
      --quiet             不显示进度行(信息和错误报告仍然输出)
      --max-memory MB     一张图片解码后最多可用的内存(默认1024); 更大的图片记为错误,不会耗尽内存

格式和文件名:
  -f, --format original|jpg|png|tiff|bmp|webp|avif
                          (原格式: HEIC/HEIF 图片写成 HEIC; 所有格式都不透明, 透明处为白色)
  -q, --quality 0-100     JPG图片质量(默认100)
      --rename PREFIX     统一文件名: PREFIX + 顺序号
      --digits N          顺序号位数(默认4)
      --metadata keep|no-location|strip   EXIF/XMP/IPTC: 全部保留 | 去掉位置信息(默认) | 全部去掉
      --colour keep|srgb  保留并嵌入原图的颜色配置文件(默认) | 转换为 sRGB

作业:
      --preset NAME       先载入名为 NAME 的作业(用户的 presets 文件夹, 然后安装的 presets)
      --job FILE          先载入作业文件; 其余选项再改动单个设置
      --save-job FILE     把命令行描述的作业写入 FILE, 不处理图片

尺寸:
      --size limit-width|fit-frame|original|custom|fit|预设名(size.ini)|宽x高(预设的尺寸,如 295x413)
  -W N  -H N              目标宽度和高度(像素); fit: 最长边放入 W×H 框内, 保持比例
      --longest N         即 --size fit -W N -H N
      --no-enlarge        小图片不放大
      --extend            比例不同时扩充画布(默认剪切图片)
      --crop-x left|middle|right   --crop-y top|middle|bottom
      --offset X,Y        图片在画布上的左边和上边

边框和水印:
      --frame FILE        边框图片(PNG)
      --text TEXT         文字水印; 整段为 #当前日期# #当前时间# #JPG照片拍摄时间# #图片原文件名#
                          (或 #date# #time# #exif-time# #file-name#) 时按图片替换
      --font FAMILY  --font-size PT  --color '#RRGGBB'  --bold  --italic  --underline
      --text-pos bottom-right|bottom-left|top-left|top-right|center|X,Y   (X,Y: 左上角, 宽高的比例)
      --mark FILE         图片水印
      --opacity 0-100     水印不透明度(默认80)
      --mark-scale -20..20  水印大小
      --mark-pos 同 --text-pos (X,Y 为水印中心)

调整和特效:
      --rotate none|auto|cw|ccw|180|flip-tb|flip-lr
      --effect beauty|sharpen|flame|purple|brown|night|spooky|scanlines|emboss|grey|mono|invert
      --brightness -75..75
      --channels R,G,B    颜色通道系数
      --matrix 25个用逗号分隔的数  颜色矩阵 m[0][0]..m[4][4], 按行

完成后:
      --error-log         有错误时在输出文件夹写 ErrorLog.txt
      --pdf               把写出的图片做成一个PDF文件
      --upload --ftp-server HOST[:PORT] --ftp-user U --ftp-dir D --ftp-subdir S --web-base URL [--passive]
                          (密码取自环境变量 TUVO_FTP_PASSWORD)
                          服务器可写 sftp://HOST[:PORT]; FTP 总是先尝试 TLS 加密
      --ftp-require-tls   服务器不支持加密时不登录(不发送密码)
      --ftp-ca FILE       用FILE中的证书验证FTPS服务器
      --ftp-pin SHA256    信任公钥SHA-256为此值的FTPS服务器(sha256//BASE64 或十六进制)
      --ftp-key FILE      SFTP私钥(默认 ~/.ssh/id_ed25519 或 id_rsa)
      --ftp-accept-host-key SHA256:...  接受 known_hosts 中尚未记录的SFTP主机密钥

脚本和多台机器:
      --files-from FILE   从文件读入输入列表, 每行一个路径("-" 为标准输入)
  -0, --null              列表以NUL分隔(find -print0)
      --shard K/N         只处理列表位置 p mod N = K-1 的图片, 文件名和编号按整个列表
      --first-number N    改名顺序号从N开始
      --on-clash overwrite|number|skip|fail   输出文件已存在或与本次先前的图片同名时
      --keep-tree         与 -R 一起: 在输出文件夹中保留子文件夹结构
      --json              每张图片一行JSON(标准输出), 最后一行汇总
      --dry-run           只列出将要写出的文件, 不处理图片

其他:
      --print-exif FILE...  列出每个文件的EXIF项(每行 "标签<TAB>值")后退出
  -h, --help              显示本帮助
      --version           显示版本

退出状态: 0 没有错误; 1 有图片处理、保存或上传失败(错误报告输出到标准错误); 2 任务无法开始。

示例:
  tuvo-cli -o out photos/                       # 宽度800, 高度按比例
  tuvo-cli -R -o out --size custom -W 1024 -H 768 --extend photos/
  tuvo-cli -o out --text '#JPG照片拍摄时间#' --font 黑体 --font-size 24 --color '#FFFFFF' a.jpg
  tuvo-cli -o out --mark logo.png --opacity 60 --mark-pos 0.9,0.9 --rename 旅行_ --digits 3 photos/
  tuvo-cli -o out --effect grey --rotate auto -f png -j 2 photos/
)");
}
