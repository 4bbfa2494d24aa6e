<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>AboutDialog</name>
    <message>
        <source>About </source>
        <translation>关于 </translation>
    </message>
    <message>
        <source>Ver 3.2.3</source>
        <translation>版本 3.2.3</translation>
    </message>
</context>
<context>
    <name>AnalysisSetupDialog</name>
    <message>
        <source>Analysis setup</source>
        <translation>分析设置</translation>
    </message>
    <message>
        <source>Times with saturations high</source>
        <translation>饱和度高次数</translation>
    </message>
    <message>
        <source>Times with saturations low</source>
        <translation>饱和度低次数</translation>
    </message>
    <message>
        <source>Times with pr high</source>
        <translation>脉率高次数</translation>
    </message>
    <message>
        <source>Times with pr low</source>
        <translation>脉率低次数</translation>
    </message>
    <message>
        <source>Desaturation Event</source>
        <translation>血氧下降事件</translation>
    </message>
    <message>
        <source>Pulse Event</source>
        <translation>脉率事件</translation>
    </message>
    <message>
        <source>Increase</source>
        <translation>增加</translation>
    </message>
    <message>
        <source>Decrease</source>
        <translation>减少</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>Application</name>
    <message>
        <source>Pulse oximeter recordings</source>
        <translation>脉搏血氧仪记录</translation>
    </message>
    <message>
        <source>Screen reslution is to small to run the program,please change reslution over 1024 in horizontal and over 768 in vertical,otherwise the effect is not well!</source>
        <translation>屏幕分辨率太低，无法正常运行本程序。请将分辨率设置为水平 1024 以上、垂直 768 以上，否则显示效果不佳！</translation>
    </message>
    <message>
        <source>The simulated oximeter could not be started.</source>
        <translation>无法启动模拟血氧仪。</translation>
    </message>
</context>
<context>
    <name>Archive</name>
    <message>
        <source>Cannot create %1%2: check the folder&apos;s permissions and free space.</source>
        <translation>无法创建 %1%2：请检查文件夹的权限和剩余空间。</translation>
    </message>
    <message>
        <source>Cannot read the archive %1%2.</source>
        <translation>无法读取存档 %1%2。</translation>
    </message>
    <message>
        <source>The archive %1 is in use by another program; try again when it has finished.</source>
        <translation>存档 %1 正被另一个程序使用；请在其完成后重试。</translation>
    </message>
    <message>
        <source>The archive %1 was made by a newer Quellix (archive version %2; this one reads up to %3). It was left unchanged: use the newer Quellix.</source>
        <translation>存档 %1 由较新版本的 Quellix 创建（存档版本 %2；本程序最高可读版本 %3）。存档未作改动：请使用较新版本的 Quellix。</translation>
    </message>
    <message>
        <source>The archive %1 is damaged and could not be replaced by a new one: move it away and start again. If this repeats, the disk may be failing.</source>
        <translation>存档 %1 已损坏，且无法以新存档替换：请将其移走后重试。如果反复出现，磁盘可能有故障。</translation>
    </message>
    <message>
        <source>Cannot write to the archive %1%2; nothing was changed. Is the disk full or the file read-only?</source>
        <translation>无法写入存档 %1%2；未作任何改动。磁盘是否已满，或文件为只读？</translation>
    </message>
    <message>
        <source>There is no night %1 in the archive.</source>
        <translation>存档中没有第 %1 夜。</translation>
    </message>
    <message>
        <source>Night %1 is damaged in the archive.</source>
        <translation>存档中的第 %1 夜已损坏。</translation>
    </message>
    <message>
        <source>%1 exists already; name a new file.</source>
        <translation>%1 已存在；请指定一个新文件。</translation>
    </message>
    <message>
        <source>%1 is not a sound Quellix archive%2.</source>
        <translation>%1 不是完好的 Quellix 存档%2。</translation>
    </message>
    <message>
        <source>%1 fails the check (%2).</source>
        <translation>%1 未通过检查（%2）。</translation>
    </message>
    <message>
        <source>The archive %1 may only be read with this server account; nothing was changed.</source>
        <translation>使用此服务器账户只能读取存档 %1；未做任何更改。</translation>
    </message>
    <message>
        <source>The connection string holds a password, and Quellix keeps none: remove it and put it in ~/.pgpass, or type it when asked.</source>
        <translation>连接字符串中含有密码，而 Quellix 不保存任何密码：请将其删除并写入 ~/.pgpass，或在询问时输入。</translation>
    </message>
    <message>
        <source>The archive %1 is on the clinic server: it is backed up there, with the server&apos;s own tools.</source>
        <translation>存档 %1 位于诊所服务器上：请在服务器上使用其自带工具备份。</translation>
    </message>
    <message>
        <source>The clinic server asks for a password to open the archive %1.</source>
        <translation>诊所服务器要求输入密码才能打开存档 %1。</translation>
    </message>
    <message>
        <source>%1 nights not yet on the server</source>
        <translation>%1 个夜间记录尚未上传到服务器</translation>
    </message>
    <message>
        <source>The clinic server&apos;s nights</source>
        <translation>诊所服务器上的夜间记录</translation>
    </message>
    <message>
        <source>This computer&apos;s nights</source>
        <translation>本计算机上的夜间记录</translation>
    </message>
    <message>
        <source>This server account may only read the archive: importing, deleting, editing details and marking artefacts are turned off.</source>
        <translation>此服务器账户只能读取存档：导入、删除、编辑详细信息和标记伪迹均已关闭。</translation>
    </message>
</context>
<context>
    <name>ArchiveOptionsDialog</name>
    <message>
        <source>Archive</source>
        <translation>存档</translation>
    </message>
    <message>
        <source>This computer only</source>
        <translation>仅本计算机</translation>
    </message>
    <message>
        <source>This computer and the clinic server</source>
        <translation>本计算机和诊所服务器</translation>
    </message>
    <message>
        <source>Connection string or service:</source>
        <translation>连接字符串或服务：</translation>
    </message>
    <message>
        <source>No password is kept: put it in ~/.pgpass, or type it when the server asks.</source>
        <translation>不保存任何密码：请将其放入 ~/.pgpass，或在服务器询问时输入。</translation>
    </message>
    <message>
        <source>Test</source>
        <translation>测试</translation>
    </message>
    <message>
        <source>Connecting...</source>
        <translation>正在连接...</translation>
    </message>
    <message>
        <source>Connected: this account may only read the nights.</source>
        <translation>已连接：此账户只能读取夜间记录。</translation>
    </message>
    <message>
        <source>Connected: this account may read and change the nights.</source>
        <translation>已连接：此账户可以读取和更改夜间记录。</translation>
    </message>
    <message>
        <source>Give the clinic server&apos;s connection string or service.</source>
        <translation>请输入诊所服务器的连接字符串或服务。</translation>
    </message>
</context>
<context>
    <name>ArchiveAccess</name>
    <message>
        <source>The archive of recordings was damaged. It is kept as %1 and a new, empty archive was started.</source>
        <translation>记录存档已损坏。它已保存为 %1，并已新建一个空存档。</translation>
    </message>
</context>
<context>
    <name>ArchiveTasks</name>
    <message>
        <source>can&apos;t open the file</source>
        <translation>无法打开文件</translation>
    </message>
    <message>
        <source>%1 nights archived, %2 already in the archive.</source>
        <translation>已存档 %1 晚，%2 晚已在存档中。</translation>
    </message>
    <message>
        <source>Import stopped after %1 of %2 files.</source>
        <translation>导入在 %2 个文件中的第 %1 个之后停止。</translation>
    </message>
    <message>
        <source>Not archived:</source>
        <translation>未存档：</translation>
    </message>
    <message>
        <source>not imported, more than 10 % of it was refused</source>
        <translation>未导入，超过 10 % 的行被拒绝</translation>
    </message>
</context>
<context>
    <name>BluetoothSearchDialog</name>
    <message>
        <source>Find bluetooth radio</source>
        <translation>搜索蓝牙设备</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>连接</translation>
    </message>
    <message>
        <source>Devices nearby:</source>
        <translation>附近的设备：</translation>
    </message>
    <message>
        <source>Address:</source>
        <translation>地址：</translation>
    </message>
    <message>
        <source>No Bluetooth adapter was found on this computer, so no device can be searched for. Plug in or switch on an adapter and try again.</source>
        <translation>未在此计算机上找到蓝牙适配器，因此无法搜索设备。请插入或打开适配器后重试。</translation>
    </message>
    <message numerus="yes">
        <source>Search finished: %n device(s) found.</source>
        <translation>
            <numerusform>搜索完成：找到 %n 个设备。</numerusform>
        </translation>
    </message>
    <message>
        <source>The Bluetooth search failed: %1</source>
        <translation>蓝牙搜索失败：%1</translation>
    </message>
    <message>
        <source>Search again</source>
        <translation>重新搜索</translation>
    </message>
    <message>
        <source>Searching for Bluetooth devices ...</source>
        <translation>正在搜索蓝牙设备...</translation>
    </message>
    <message>
        <source>Choose a device in the list, or type its address as AA:BB:CC:DD:EE:FF.</source>
        <translation>请在列表中选择设备，或按 AA:BB:CC:DD:EE:FF 的格式输入其地址。</translation>
    </message>
    <message>
        <source>Connecting to %1 ...</source>
        <translation>正在连接 %1...</translation>
    </message>
    <message>
        <source>Could not connect to %1: %2</source>
        <translation>无法连接到 %1：%2</translation>
    </message>
</context>
<context>
    <name>ClinicalSummary</name>
    <message>
        <source>No valid readings</source>
        <translation>没有有效读数</translation>
    </message>
    <message>
        <source>Valid time: %1</source>
        <translation>有效时间：%1</translation>
    </message>
    <message>
        <source>Nadir SpO2: %1%</source>
        <translation>最低 SpO2：%1%</translation>
    </message>
    <message>
        <source>T90: %1 (%2%)</source>
        <translation>T90：%1（%2%）</translation>
    </message>
    <message>
        <source>T88: %1 (%2%)</source>
        <translation>T88：%1（%2%）</translation>
    </message>
    <message>
        <source>ODI3: %1/h  ODI4: %2/h</source>
        <translation>ODI3：%1/小时  ODI4：%2/小时</translation>
    </message>
    <message>
        <source>Pulse min/mean/max: %1/%2/%3 bpm</source>
        <translation>脉率 最低/平均/最高：%1/%2/%3 次/分</translation>
    </message>
    <message>
        <source>Coverage: %1% (artefacts %2), short recording</source>
        <translation>覆盖率：%1%（伪差 %2），记录过短</translation>
    </message>
    <message>
        <source>Coverage: %1% (artefacts %2)</source>
        <translation>覆盖率：%1%（伪差 %2）</translation>
    </message>
    <message>
        <source>Mean SpO2: %1%  Hypoxic burden: %2 %·min/h</source>
        <translation>平均 SpO2：%1%  缺氧负荷：%2 %·分/小时</translation>
    </message>
    <message>
        <source>ΔI: %1  Desaturations: %2 s, %3%, pulse %4 bpm</source>
        <translation>ΔI：%1  去饱和：%2 秒，%3%，脉率 %4 次/分</translation>
    </message>
</context>
<context>
    <name>DataView</name>
    <message>
        <source>The printer could not be started. Check that it is installed and ready.</source>
        <translation>无法启动打印机。请检查打印机是否已安装并准备就绪。</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>打印</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Printing page %1 of %2...</source>
        <translation>正在打印第 %1 页，共 %2 页...</translation>
    </message>
</context>
<context>
    <name>DeleteDataDialog</name>
    <message>
        <source>Delete Data</source>
        <translation>删除数据</translation>
    </message>
    <message>
        <source>ID :</source>
        <translation>ID：</translation>
    </message>
    <message>
        <source>Data Type :</source>
        <translation>数据类型：</translation>
    </message>
    <message>
        <source>All</source>
        <translation>全部</translation>
    </message>
</context>
<context>
    <name>DeletingDataWindow</name>
    <message>
        <source>Deleting Data ...</source>
        <translation>正在删除数据...</translation>
    </message>
</context>
<context>
    <name>Device</name>
    <message>
        <source>write com command failed!</source>
        <translation>向串口写入命令失败！</translation>
    </message>
    <message>
        <source>Read data timeout,please retry</source>
        <translation>读取数据超时，请重试</translation>
    </message>
    <message>
        <source>No Connected, please connect device!</source>
        <translation>未连接，请连接设备！</translation>
    </message>
    <message>
        <source>read data out of buffer!</source>
        <translation>读取的数据超出缓冲区！</translation>
    </message>
    <message>
        <source>read com failed!</source>
        <translation>读取串口失败！</translation>
    </message>
    <message>
        <source>Can&apos;t find right COM or the device is power off !</source>
        <translation>找不到正确的串口，或设备未开机！</translation>
    </message>
    <message>
        <source>no data!</source>
        <translation>没有数据！</translation>
    </message>
    <message>
        <source>Synchronization error!</source>
        <translation>同步错误！</translation>
    </message>
    <message>
        <source>new memory err!</source>
        <translation>内存分配错误！</translation>
    </message>
    <message>
        <source>Set Date and Time Succeed !</source>
        <translation>日期和时间设置成功！</translation>
    </message>
    <message>
        <source>Set Date and Time Error !</source>
        <translation>日期和时间设置失败！</translation>
    </message>
    <message>
        <source>Device data cleared !</source>
        <translation>设备数据已清除！</translation>
    </message>
    <message>
        <source>Delete Data Error !</source>
        <translation>删除数据出错！</translation>
    </message>
    <message>
        <source>Connect succeed! Total</source>
        <translation>连接成功！共</translation>
    </message>
    <message>
        <source>Frames!</source>
        <translation>帧！</translation>
    </message>
    <message>
        <source>Permission denied on %1: add your user to the dialout group, then log in again</source>
        <translation>无权访问 %1：请将您的用户加入 dialout 组，然后重新登录</translation>
    </message>
    <message>
        <source>Only %1 of the %2 announced frames arrived.</source>
        <translation>仅收到了预告的 %2 帧中的 %1 帧。</translation>
    </message>
    <message>
        <source>Frames announced: %1, arrived: %2</source>
        <translation>声明帧数：%1，已接收：%2</translation>
    </message>
    <message>
        <source>ID %1: first reading %2, last reading %3</source>
        <translation>ID %1：第一条读数 %2，最后一条读数 %3</translation>
    </message>
    <message>
        <source>%1 nights archived, %2 already in the archive.</source>
        <translation>已归档 %1 个夜间记录，%2 个已在档案中。</translation>
    </message>
    <message>
        <source>The archive could not be written (%1). The downloaded readings are still here; save them to keep them.</source>
        <translation>无法写入档案（%1）。下载的数据仍在内存中，请保存以免丢失。</translation>
    </message>
    <message>
        <source>The archive was damaged: it is kept as %1 and a new archive was started.</source>
        <translation>档案已损坏：已保留为 %1，并已新建档案。</translation>
    </message>
</context>
<context>
    <name>DeviceCommands</name>
    <message>
        <source>CONNECT SUCCEED</source>
        <translation>连接成功</translation>
    </message>
</context>
<context>
    <name>DownloadDialog</name>
    <message>
        <source>New Data Capture</source>
        <translation>新建数据采集</translation>
    </message>
    <message>
        <source>Data Info</source>
        <translation>数据信息</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>开始</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>DeleteData</source>
        <translation>删除数据</translation>
    </message>
    <message>
        <source>SetDateAndTime</source>
        <translation>设置日期时间</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Extend &gt;&gt;</source>
        <translation>扩展 &gt;&gt;</translation>
    </message>
    <message>
        <source>Manual Setup</source>
        <translation>手动设置</translation>
    </message>
    <message>
        <source>PORT</source>
        <translation>端口</translation>
    </message>
    <message>
        <source>Searching for the device ...</source>
        <translation>正在查找设备...</translation>
    </message>
    <message>
        <source>Waiting for the device ...</source>
        <translation>正在等待设备...</translation>
    </message>
    <message>
        <source>&lt;&lt;Standard</source>
        <translation>&lt;&lt;标准</translation>
    </message>
    <message>
        <source>Save raw dump...</source>
        <translation>保存原始数据转储...</translation>
    </message>
    <message>
        <source>Raw dump (*.dump)</source>
        <translation>原始数据转储 (*.dump)</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>无法写入 %1：%2</translation>
    </message>
</context>
<context>
    <name>EventTimeFile</name>
    <message>
        <source>Data file(*.txt)</source>
        <translation>数据文件(*.txt)</translation>
    </message>
    <message>
        <source>Nothing was written: choose a file name ending in .txt.</source>
        <translation>未写入任何内容：请选择以 .txt 结尾的文件名。</translation>
    </message>
</context>
<context>
    <name>ExportProgress</name>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <source>Quellix manual</source>
        <translation>Quellix 使用手册</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>搜索</translation>
    </message>
    <message>
        <source>Open in browser</source>
        <translation>在浏览器中打开</translation>
    </message>
    <message>
        <source>Not found</source>
        <translation>未找到</translation>
    </message>
</context>
<context>
    <name>Import</name>
    <message>
        <source>the columns need time= and spo2= or pulse=</source>
        <translation>列需要 time= 以及 spo2= 或 pulse=</translation>
    </message>
    <message>
        <source>not a column choice: &apos;%1&apos; (use time=N,spo2=N,pulse=N, columns from 1)</source>
        <translation>不是有效的列选择：&apos;%1&apos;（请用 time=N,spo2=N,pulse=N，列从 1 开始）</translation>
    </message>
    <message>
        <source>the time format &apos;%1&apos; has an unclosed quote</source>
        <translation>时间格式 &apos;%1&apos; 有未闭合的引号</translation>
    </message>
    <message>
        <source>the time format &apos;%1&apos; has the unknown letters &apos;%2&apos;</source>
        <translation>时间格式 &apos;%1&apos; 含有未知字母 &apos;%2&apos;</translation>
    </message>
    <message>
        <source>the time format &apos;%1&apos; needs a day, a month, a year and an hour</source>
        <translation>时间格式 &apos;%1&apos; 需要日、月、年和小时</translation>
    </message>
    <message>
        <source>the time format &apos;%1&apos; needs both h and AP for a 12-hour clock</source>
        <translation>时间格式 &apos;%1&apos; 的 12 小时制需要同时有 h 和 AP</translation>
    </message>
    <message>
        <source>more than %1 readings (31 days)</source>
        <translation>超过 %1 个读数（31 天）</translation>
    </message>
    <message>
        <source>too few fields</source>
        <translation>字段太少</translation>
    </message>
    <message>
        <source>time &apos;%1&apos; is not a time</source>
        <translation>时间 &apos;%1&apos; 不是有效时间</translation>
    </message>
    <message>
        <source>SpO2 &apos;%1&apos; is not a reading</source>
        <translation>SpO2 &apos;%1&apos; 不是有效读数</translation>
    </message>
    <message>
        <source>pulse &apos;%1&apos; is not a reading</source>
        <translation>脉率 &apos;%1&apos; 不是有效读数</translation>
    </message>
    <message>
        <source>time &apos;%1&apos; is before the row above</source>
        <translation>时间 &apos;%1&apos; 早于上一行</translation>
    </message>
    <message>
        <source>missing, the file ends before it</source>
        <translation>缺失，文件在此之前结束</translation>
    </message>
    <message>
        <source>no time-keeping annotation</source>
        <translation>没有计时注释</translation>
    </message>
    <message>
        <source>starts before the record above ends</source>
        <translation>在上一个记录结束前开始</translation>
    </message>
    <message>
        <source>neither a .csv, .txt nor an .edf file</source>
        <translation>不是 .csv、.txt 或 .edf 文件</translation>
    </message>
    <message>
        <source>larger than %1 MB, more than any night</source>
        <translation>大于 %1 MB，超过任何一晚的数据</translation>
    </message>
    <message>
        <source>cannot be read: %1</source>
        <translation>无法读取：%1</translation>
    </message>
    <message>
        <source>the file is empty</source>
        <translation>文件为空</translation>
    </message>
    <message>
        <source>no header in the first lines names the time and SpO2 or pulse columns</source>
        <translation>前几行中没有表头指明时间列和 SpO2 或脉率列</translation>
    </message>
    <message>
        <source>no readings after the header</source>
        <translation>表头之后没有读数</translation>
    </message>
    <message>
        <source>time &apos;%1&apos; is in no known format; give the time format</source>
        <translation>时间 &apos;%1&apos; 不属于任何已知格式；请给出时间格式</translation>
    </message>
    <message>
        <source>the dates, such as &apos;%1&apos;, could be day or month first; give the time format</source>
        <translation>日期（例如 &apos;%1&apos;）可能是日在前，也可能是月在前；请给出时间格式</translation>
    </message>
    <message>
        <source>not an EDF file: shorter than its 256-byte header</source>
        <translation>不是 EDF 文件：短于 256 字节的文件头</translation>
    </message>
    <message>
        <source>not an EDF file: the version is not 0</source>
        <translation>不是 EDF 文件：版本不是 0</translation>
    </message>
    <message>
        <source>not an EDF file: the header&apos;s sizes do not agree</source>
        <translation>不是 EDF 文件：文件头中的大小不一致</translation>
    </message>
    <message>
        <source>the data records have no usable duration</source>
        <translation>数据记录没有可用的时长</translation>
    </message>
    <message>
        <source>the start date or time is not one</source>
        <translation>开始日期或时间无效</translation>
    </message>
    <message>
        <source>the start %1 is not a date and time from 2000 on</source>
        <translation>开始时间 %1 不是 2000 年以后的日期和时间</translation>
    </message>
    <message>
        <source>signal %1 (%2) has no usable number of samples</source>
        <translation>信号 %1（%2）没有可用的采样数</translation>
    </message>
    <message>
        <source>data records above %1 bytes</source>
        <translation>数据记录超过 %1 字节</translation>
    </message>
    <message>
        <source>signal %1 (%2) has limits that are not numbers</source>
        <translation>信号 %1（%2）的界限不是数字</translation>
    </message>
    <message>
        <source>no SpO2 or pulse signal in the file</source>
        <translation>文件中没有 SpO2 或脉率信号</translation>
    </message>
    <message>
        <source>an EDF+D file without its annotations signal</source>
        <translation>EDF+D 文件缺少注释信号</translation>
    </message>
    <message>
        <source>no data records</source>
        <translation>没有数据记录</translation>
    </message>
    <message>
        <source>line %1: %2</source>
        <translation>第 %1 行：%2</translation>
    </message>
    <message>
        <source>record %1: %2</source>
        <translation>记录 %1：%2</translation>
    </message>
    <message>
        <source>no valid reading: %1</source>
        <translation>没有有效读数：%1</translation>
    </message>
    <message>
        <source>no valid record: %1</source>
        <translation>没有有效记录：%1</translation>
    </message>
    <message>
        <source>%1 records read, %2 refused</source>
        <translation>已读取 %1 个记录，拒绝 %2 个</translation>
    </message>
    <message>
        <source>%1 rows read, %2 refused</source>
        <translation>已读取 %1 行，拒绝 %2 行</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1：%2</translation>
    </message>
    <message>
        <source>times with a UTC offset were converted to this computer&apos;s local time</source>
        <translation>带 UTC 偏移的时间已转换为本机的本地时间</translation>
    </message>
</context>
<context>
    <name>ImportColumnsDialog</name>
    <message>
        <source>Place the columns</source>
        <translation>指定列</translation>
    </message>
    <message>
        <source>ignore</source>
        <translation>忽略</translation>
    </message>
    <message>
        <source>time</source>
        <translation>时间</translation>
    </message>
    <message>
        <source>date</source>
        <translation>日期</translation>
    </message>
    <message>
        <source>SpO2</source>
        <translation>SpO2</translation>
    </message>
    <message>
        <source>pulse</source>
        <translation>脉率</translation>
    </message>
    <message>
        <source>Date and time pattern:</source>
        <translation>日期和时间格式：</translation>
    </message>
    <message>
        <source>Choose the time column and the SpO2 or pulse column.</source>
        <translation>请选择时间列以及 SpO2 列或脉率列。</translation>
    </message>
</context>
<context>
    <name>ImportPatientDialog</name>
    <message>
        <source>Patient of the imported files</source>
        <translation>导入文件的病人</translation>
    </message>
    <message>
        <source>These files name no device ID. Their nights are archived for this patient:</source>
        <translation>这些文件没有设备 ID。其夜间记录将归档到此病人：</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>姓名：</translation>
    </message>
    <message>
        <source>ID:</source>
        <translation>ID：</translation>
    </message>
</context>
<context>
    <name>LanguageDialog</name>
    <message>
        <source>Language</source>
        <translation>语言</translation>
    </message>
    <message>
        <source>&amp;Language of the program:</source>
        <translation>程序语言(&amp;L)：</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Computing the archive&apos;s figures again: %1 of %2 nights</source>
        <translation>正在重新计算存档数值：第 %1 晚，共 %2 晚</translation>
    </message>
    <message>
        <source>NewDataCapture (&amp;N)</source>
        <translation>新建数据采集(&amp;N)</translation>
    </message>
    <message>
        <source>Find bluetooth radio</source>
        <translation>搜索蓝牙设备</translation>
    </message>
    <message>
        <source>Open Other ID Data</source>
        <translation>打开其他 ID 的数据</translation>
    </message>
    <message>
        <source>Save Data(&amp;S)...</source>
        <translation>保存数据(&amp;S)...</translation>
    </message>
    <message>
        <source>Open Saved Data(&amp;O)...</source>
        <translation>打开已保存的数据(&amp;O)...</translation>
    </message>
    <message>
        <source>Check out the SpO2 event time...</source>
        <translation>查看 SpO2 事件时间...</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>PrintPreView</source>
        <translation>打印预览</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>打印</translation>
    </message>
    <message>
        <source>Exit(&amp;X)</source>
        <translation>退出(&amp;X)</translation>
    </message>
    <message>
        <source>Patient Info</source>
        <translation>病人信息</translation>
    </message>
    <message>
        <source>Patient Title</source>
        <translation>病人标题</translation>
    </message>
    <message>
        <source>Trend</source>
        <translation>趋势图</translation>
    </message>
    <message>
        <source>Table</source>
        <translation>表格</translation>
    </message>
    <message>
        <source>Analysis</source>
        <translation>分析</translation>
    </message>
    <message>
        <source>Roll Step</source>
        <translation>滚动步长</translation>
    </message>
    <message>
        <source>Analysis Setup</source>
        <translation>分析设置</translation>
    </message>
    <message>
        <source>Unit Setup</source>
        <translation>单位设置</translation>
    </message>
    <message>
        <source>PageUp</source>
        <translation>上一页</translation>
    </message>
    <message>
        <source>PageDown</source>
        <translation>下一页</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>语言</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>帮助</translation>
    </message>
    <message>
        <source>File(&amp;F)</source>
        <translation>文件(&amp;F)</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>编辑</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>模式</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>选项</translation>
    </message>
    <message>
        <source>About(&amp;A)</source>
        <translation>关于(&amp;A)</translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation>工具栏</translation>
    </message>
    <message>
        <source>Ready</source>
        <translation>就绪</translation>
    </message>
    <message>
        <source>The Reslution is to small to run the program!</source>
        <translation>屏幕分辨率太低，无法运行本程序！</translation>
    </message>
    <message>
        <source>Recording saved.</source>
        <translation>记录已保存。</translation>
    </message>
    <message>
        <source>Can&apos;t open file</source>
        <translation>无法打开文件</translation>
    </message>
    <message>
        <source>Event times saved.</source>
        <translation>事件时间已保存。</translation>
    </message>
    <message>
        <source>About 	(&amp;A)...</source>
        <translation>关于 	(&amp;A)...</translation>
    </message>
    <message>
        <source>Keep every download in the archive</source>
        <translation>将每次下载保存到档案中</translation>
    </message>
    <message>
        <source>The downloaded recording is not saved. Discard it?</source>
        <translation>下载的记录尚未保存。是否放弃？</translation>
    </message>
    <message>
        <source>The patient details could not be written to the archive: %1</source>
        <translation>无法将患者信息写入档案：%1</translation>
    </message>
    <message>
        <source>Recordings...</source>
        <translation>记录...</translation>
    </message>
    <message>
        <source>Import into archive...</source>
        <translation>导入存档...</translation>
    </message>
    <message>
        <source>Marks are kept with nights in the archive: open this night from File &gt; Recordings...</source>
        <translation>标记随存档中的夜间记录保存：请通过 文件 &gt; 记录... 打开该晚记录</translation>
    </message>
    <message>
        <source>The marks could not be stored in the archive.</source>
        <translation>无法将标记保存到存档中。</translation>
    </message>
    <message>
        <source>The night could not be opened from the archive.</source>
        <translation>无法从存档中打开该晚记录。</translation>
    </message>
    <message>
        <source>Archiving the files...</source>
        <translation>正在存档文件...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Import into archive</source>
        <translation>导入存档</translation>
    </message>
    <message>
        <source>Data file(*.dat)</source>
        <translation>数据文件(*.dat)</translation>
    </message>
    <message>
        <source>Recordings (*.dat *.csv *.txt *.edf)</source>
        <translation>记录 (*.dat *.csv *.txt *.edf)</translation>
    </message>
    <message>
        <source>More than 10 % of %1 was refused (%2). Import it all the same?</source>
        <translation>%1 中超过 10 % 的行被拒绝（%2）。仍要导入吗？</translation>
    </message>
    <message>
        <source>Overview</source>
        <translation>总览</translation>
    </message>
    <message>
        <source>Clinic server</source>
        <translation>诊所服务器</translation>
    </message>
    <message>
        <source>Password for the clinic server:</source>
        <translation>诊所服务器密码：</translation>
    </message>
    <message>
        <source>Archive...</source>
        <translation>存档...</translation>
    </message>
</context>
<context>
    <name>NightListModel</name>
    <message>
        <source>Figures of an older Quellix, being computed again</source>
        <translation>旧版 Quellix 计算的数值，正在重新计算</translation>
    </message>
    <message>
        <source>ID %1 (no name)</source>
        <translation>ID %1（无姓名）</translation>
    </message>
    <message>
        <source>Patient</source>
        <translation>患者</translation>
    </message>
    <message>
        <source>ID</source>
        <translation>ID</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>日期</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>开始</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>时长</translation>
    </message>
    <message>
        <source>Valid %</source>
        <translation>有效 %</translation>
    </message>
    <message>
        <source>ODI 4%</source>
        <translation>ODI 4%</translation>
    </message>
    <message>
        <source>T90 %</source>
        <translation>T90 %</translation>
    </message>
    <message>
        <source>Nadir %</source>
        <translation>最低值 %</translation>
    </message>
    <message>
        <source>Interval</source>
        <translation>间隔</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 秒</translation>
    </message>
</context>
<context>
    <name>OkCancelButtons</name>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>OtherIdDialog</name>
    <message>
        <source>Open other ID data</source>
        <translation>打开其他 ID 的数据</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>完成</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>Overview</name>
    <message>
        <source>%1 (+%2 short)</source>
        <translation>%1（另 %2 晚过短）</translation>
    </message>
    <message numerus="yes">
        <source>%n short night(s) (under 4 hours of valid readings) shown in grey, left out of the means.</source>
        <translation>
            <numerusform>%n 晚过短（有效读数不足 4 小时），以灰色显示，未计入平均值。</numerusform>
        </translation>
    </message>
    <message>
        <source>%·min/h</source>
        <translation>%·分/小时</translation>
    </message>
    <message>
        <source>/h</source>
        <translation>/小时</translation>
    </message>
    <message>
        <source>7 days</source>
        <translation>7 天</translation>
    </message>
    <message>
        <source>30 days</source>
        <translation>30 天</translation>
    </message>
    <message>
        <source>90 days</source>
        <translation>90 天</translation>
    </message>
    <message>
        <source>365 days</source>
        <translation>365 天</translation>
    </message>
    <message>
        <source>Coverage</source>
        <translation>覆盖率</translation>
    </message>
    <message>
        <source>Hypoxic burden</source>
        <translation>缺氧负荷</translation>
    </message>
    <message>
        <source>Mean SpO2</source>
        <translation>平均 SpO2</translation>
    </message>
    <message>
        <source>Most recent</source>
        <translation>最近一晚</translation>
    </message>
    <message>
        <source>Most recent (short)</source>
        <translation>最近一晚（过短）</translation>
    </message>
    <message>
        <source>Nadir SpO2</source>
        <translation>最低 SpO2</translation>
    </message>
    <message>
        <source>Nights</source>
        <translation>晚数</translation>
    </message>
    <message>
        <source>ODI 3 %</source>
        <translation>ODI 3 %</translation>
    </message>
    <message>
        <source>ODI 4 %</source>
        <translation>ODI 4 %</translation>
    </message>
    <message>
        <source>Period</source>
        <translation>整个时间段</translation>
    </message>
    <message>
        <source>Pulse mean (min–max)</source>
        <translation>平均脉率（最低–最高）</translation>
    </message>
    <message>
        <source>T90 %</source>
        <translation>T90 %</translation>
    </message>
    <message>
        <source>Valid hours</source>
        <translation>有效小时数</translation>
    </message>
    <message>
        <source>bpm</source>
        <translation>次/分</translation>
    </message>
    <message>
        <source>h</source>
        <translation>小时</translation>
    </message>
</context>
<context>
    <name>OverviewView</name>
    <message>
        <source>ID %1 (no name)</source>
        <translation>ID %1（无姓名）</translation>
    </message>
    <message>
        <source>%1 (ID %2)</source>
        <translation>%1（ID %2）</translation>
    </message>
    <message>
        <source>Last 7 nights</source>
        <translation>最近 7 晚</translation>
    </message>
    <message>
        <source>Last 30 nights</source>
        <translation>最近 30 晚</translation>
    </message>
    <message>
        <source>Last 90 nights</source>
        <translation>最近 90 晚</translation>
    </message>
    <message>
        <source>Last 365 nights</source>
        <translation>最近 365 晚</translation>
    </message>
    <message>
        <source>All nights</source>
        <translation>全部记录</translation>
    </message>
    <message>
        <source>From - to</source>
        <translation>从 - 到</translation>
    </message>
    <message>
        <source>Patient:</source>
        <translation>患者：</translation>
    </message>
    <message>
        <source>Period:</source>
        <translation>时间段：</translation>
    </message>
    <message>
        <source>From:</source>
        <translation>从：</translation>
    </message>
    <message>
        <source>To:</source>
        <translation>到：</translation>
    </message>
    <message>
        <source>The archive of recordings could not be read.</source>
        <translation>无法读取记录存档。</translation>
    </message>
    <message>
        <source>The archive holds no nights yet. Nights come into it with each download, or with File &gt; Import into archive...</source>
        <translation>存档中还没有记录。每次下载或通过 文件 &gt; 导入存档... 都会把记录放入存档。</translation>
    </message>
    <message>
        <source>No night of this patient falls in the period.</source>
        <translation>该患者在此时间段内没有记录。</translation>
    </message>
</context>
<context>
    <name>PatientInfoDialog</name>
    <message>
        <source>Edit patient information</source>
        <translation>编辑病人信息</translation>
    </message>
    <message>
        <source>ID &amp;Number</source>
        <translation>编号(&amp;N)</translation>
    </message>
    <message>
        <source>&amp;Gender</source>
        <translation>性别(&amp;G)</translation>
    </message>
    <message>
        <source>Na&amp;me</source>
        <translation>姓名(&amp;M)</translation>
    </message>
    <message>
        <source>&amp;Age</source>
        <translation>年龄(&amp;A)</translation>
    </message>
    <message>
        <source>&amp;Height</source>
        <translation>身高(&amp;H)</translation>
    </message>
    <message>
        <source>&amp;Weight</source>
        <translation>体重(&amp;W)</translation>
    </message>
    <message>
        <source>&amp;Physician</source>
        <translation>医生(&amp;P)</translation>
    </message>
    <message>
        <source>Note &amp;1</source>
        <translation>备注 &amp;1</translation>
    </message>
    <message>
        <source>Note &amp;2</source>
        <translation>备注 &amp;2</translation>
    </message>
    <message>
        <source>&amp;Comments</source>
        <translation>说明(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Save Info</source>
        <translation>保存信息(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Delete Info</source>
        <translation>删除信息(&amp;D)</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>PrintPreviewDialog</name>
    <message>
        <source>Print Preview</source>
        <translation>打印预览</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>打印(&amp;P)...</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>打印</translation>
    </message>
    <message>
        <source>First page</source>
        <translation>第一页</translation>
    </message>
    <message>
        <source>Previous page</source>
        <translation>上一页</translation>
    </message>
    <message>
        <source>Next page</source>
        <translation>下一页</translation>
    </message>
    <message>
        <source>Last page</source>
        <translation>最后一页</translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation>放大</translation>
    </message>
    <message>
        <source>Zoom out</source>
        <translation>缩小</translation>
    </message>
    <message>
        <source>Fit to window</source>
        <translation>适合窗口</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>关闭(&amp;C)</translation>
    </message>
    <message>
        <source>Page %1 of %2</source>
        <translation>第 %1 页，共 %2 页</translation>
    </message>
</context>
<context>
    <name>RecordStore</name>
    <message>
        <source>Get patient info error!</source>
        <translation>读取病人信息出错！</translation>
    </message>
</context>
<context>
    <name>RecordingsWindow</name>
    <message>
        <source>Recordings</source>
        <translation>记录</translation>
    </message>
    <message>
        <source>Patient or ID:</source>
        <translation>患者或 ID：</translation>
    </message>
    <message>
        <source>From:</source>
        <translation>从：</translation>
    </message>
    <message>
        <source>To:</source>
        <translation>到：</translation>
    </message>
    <message>
        <source>any</source>
        <translation>任意</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>撤销</translation>
    </message>
    <message>
        <source>Format:</source>
        <translation>格式：</translation>
    </message>
    <message>
        <source>Export selected...</source>
        <translation>导出所选...</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>The archive of recordings could not be read.</source>
        <translation>无法读取记录存档。</translation>
    </message>
    <message>
        <source>Remove the selected nights (%1) from the archive?</source>
        <translation>从存档中删除所选的 %1 晚记录？</translation>
    </message>
    <message>
        <source>These nights could not be removed:</source>
        <translation>以下记录无法删除：</translation>
    </message>
    <message>
        <source>The night could not be restored.</source>
        <translation>无法恢复该晚记录。</translation>
    </message>
    <message>
        <source>%1 files written to %2.</source>
        <translation>已将 %1 个文件写入 %2。</translation>
    </message>
    <message>
        <source>Not written:</source>
        <translation>未写入：</translation>
    </message>
    <message>
        <source>Patient details...</source>
        <translation>患者信息...</translation>
    </message>
    <message>
        <source>The details could not be saved in the archive.</source>
        <translation>无法将信息保存到存档中。</translation>
    </message>
    <message>
        <source>The clinic server cannot be reached (%1). New nights and changes wait on this computer.</source>
        <translation>无法连接诊所服务器（%1）。新的夜间记录和更改在本计算机上等待发送。</translation>
    </message>
</context>
<context>
    <name>ReportTitleDialog</name>
    <message>
        <source>Modify Title</source>
        <translation>修改标题</translation>
    </message>
    <message>
        <source>&amp;Title</source>
        <translation>标题(&amp;T)</translation>
    </message>
</context>
<context>
    <name>RollStepDialog</name>
    <message>
        <source>Set Step</source>
        <translation>设置步长</translation>
    </message>
    <message>
        <source>Roll Step :</source>
        <translation>滚动步长：</translation>
    </message>
    <message>
        <source>Increase</source>
        <translation>增加</translation>
    </message>
    <message>
        <source>Decrease</source>
        <translation>减少</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>SavedData</name>
    <message>
        <source>Nothing was written: choose a file name ending in .dat, .txt, .xls, .csv or .edf.</source>
        <translation>未写入任何内容：请选择以 .dat、.txt、.xls、.csv 或 .edf 结尾的文件名。</translation>
    </message>
    <message>
        <source>Data file(*.dat)</source>
        <translation>数据文件(*.dat)</translation>
    </message>
    <message>
        <source>The recording needs %1 files, and these already exist:
%2
Replace them?</source>
        <translation>该记录需要 %1 个文件，以下文件已存在：
%2
是否替换？</translation>
    </message>
    <message>
        <source>The recording has %1 readings, more than one file can hold, so it was saved in %2 files:
%3</source>
        <translation>该记录有 %1 个读数，超过一个文件所能容纳的数量，因此已保存为 %2 个文件：
%3</translation>
    </message>
    <message>
        <source>Nothing was written: an EDF+ file needs at least one reading for its start time.</source>
        <translation>未写入任何内容：EDF+ 文件至少需要一个读数作为其开始时间。</translation>
    </message>
    <message>
        <source>These files hold the rest of the recording saved earlier under this name and are not part of this one:
%1
Remove them?</source>
        <translation>这些文件是之前以此名称保存的记录的其余部分，不属于本次记录：
%1
是否删除？</translation>
    </message>
    <message>
        <source>These files could not be removed:
%1</source>
        <translation>无法删除这些文件：
%1</translation>
    </message>
</context>
<context>
    <name>SetClockDialog</name>
    <message>
        <source>Set Date And Time</source>
        <translation>设置日期和时间</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>日期</translation>
    </message>
    <message>
        <source>Hour:</source>
        <translation>时：</translation>
    </message>
    <message>
        <source>Minute:</source>
        <translation>分：</translation>
    </message>
    <message>
        <source>Second:</source>
        <translation>秒：</translation>
    </message>
    <message>
        <source>Please input a Num !</source>
        <translation>请输入数字！</translation>
    </message>
    <message>
        <source>Please input a legal value !</source>
        <translation>请输入有效的值！</translation>
    </message>
</context>
<context>
    <name>StartPage</name>
    <message>
        <source>Download from the oximeter</source>
        <translation>从血氧仪下载</translation>
    </message>
    <message>
        <source>Open saved data</source>
        <translation>打开已保存的数据</translation>
    </message>
    <message>
        <source>Latest nights in the archive</source>
        <translation>存档中最近的记录</translation>
    </message>
    <message>
        <source>No nights in the archive yet.</source>
        <translation>存档中还没有记录。</translation>
    </message>
    <message>
        <source>Patient</source>
        <translation>患者</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>日期</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>开始</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>时长</translation>
    </message>
</context>
<context>
    <name>Texts</name>
    <message>
        <source>scope : 0 - 157,Please ReInput</source>
        <translation>范围：0 - 157，请重新输入</translation>
    </message>
    <message>
        <source>Graphic Summary</source>
        <translation>图形摘要</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>完成</translation>
    </message>
    <message>
        <source>Pulse Rate (50 BPM per division)</source>
        <translation>脉率（每格 50 BPM）</translation>
    </message>
    <message>
        <source>total</source>
        <translation>共</translation>
    </message>
    <message>
        <source>Groups</source>
        <translation>组</translation>
    </message>
    <message>
        <source>RecordDate :</source>
        <translation>记录日期：</translation>
    </message>
    <message>
        <source>RecordTime : </source>
        <translation>记录时间： </translation>
    </message>
    <message>
        <source>SpO2       (20% per division)</source>
        <translation>SpO2       （每格 20%）</translation>
    </message>
    <message>
        <source>Item</source>
        <translation>序号</translation>
    </message>
    <message>
        <source>Create Excel service failed !</source>
        <translation>创建 Excel 服务失败！</translation>
    </message>
    <message>
        <source>can&apos;t open the file</source>
        <translation>无法打开文件</translation>
    </message>
    <message>
        <source>Are you sure to delete the patient info?</source>
        <translation>确定要删除病人信息吗？</translation>
    </message>
    <message>
        <source>Patient ID invalidate</source>
        <translation>病人 ID 无效</translation>
    </message>
    <message>
        <source>Field must be 80 or less characters in length!</source>
        <translation>此字段长度不能超过 80 个字符！</translation>
    </message>
    <message>
        <source>Field must be 40 or less characters in length!</source>
        <translation>此字段长度不能超过 40 个字符！</translation>
    </message>
    <message>
        <source>Field must be 30 or less characters in length!</source>
        <translation>此字段长度不能超过 30 个字符！</translation>
    </message>
    <message>
        <source>scope : 0 - 1000,Please ReInput</source>
        <translation>范围：0 - 1000，请重新输入</translation>
    </message>
    <message>
        <source>scope : 0 - 200,Please ReInput</source>
        <translation>范围：0 - 200，请重新输入</translation>
    </message>
    <message>
        <source>Please select patient ID</source>
        <translation>请选择病人 ID</translation>
    </message>
    <message>
        <source>Field must be 60 or less characters in length!</source>
        <translation>此字段长度不能超过 60 个字符！</translation>
    </message>
    <message>
        <source>You have Run one</source>
        <translation>程序已在运行</translation>
    </message>
    <message>
        <source>Can&apos;t create the file</source>
        <translation>无法创建文件</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>日期</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>时间</translation>
    </message>
    <message>
        <source>PatientData</source>
        <translation>病人资料</translation>
    </message>
    <message>
        <source>Name :</source>
        <translation>姓名：</translation>
    </message>
    <message>
        <source>Gender : </source>
        <translation>性别： </translation>
    </message>
    <message>
        <source>Age : </source>
        <translation>年龄： </translation>
    </message>
    <message>
        <source>Height : </source>
        <translation>身高： </translation>
    </message>
    <message>
        <source>Weight : </source>
        <translation>体重： </translation>
    </message>
    <message>
        <source>Physician : </source>
        <translation>医生： </translation>
    </message>
    <message>
        <source>Note1 : </source>
        <translation>备注1： </translation>
    </message>
    <message>
        <source>Note2 : </source>
        <translation>备注2： </translation>
    </message>
    <message>
        <source>female</source>
        <translation>女</translation>
    </message>
    <message>
        <source>male</source>
        <translation>男</translation>
    </message>
    <message>
        <source>Start Date:</source>
        <translation>开始日期：</translation>
    </message>
    <message>
        <source>Start Time : </source>
        <translation>开始时间： </translation>
    </message>
    <message>
        <source>End Date:</source>
        <translation>结束日期：</translation>
    </message>
    <message>
        <source>End Time : </source>
        <translation>结束时间： </translation>
    </message>
    <message>
        <source>Comments:</source>
        <translation>评语：</translation>
    </message>
    <message>
        <source>times</source>
        <translation>次</translation>
    </message>
    <message>
        <source>Desaturation Event:drop in SpO2 by at least</source>
        <translation>血氧饱和度下降事件：SpO2 下降至少</translation>
    </message>
    <message>
        <source>% for a minimum duration of 10 seconds.</source>
        <translation>%，且持续至少 10 秒。</translation>
    </message>
    <message>
        <source>Pulse Event Change in rate by at least</source>
        <translation>脉率事件：脉率变化至少</translation>
    </message>
    <message>
        <source>bpm for a minimum duration of 8 seconds.</source>
        <translation>bpm，且持续至少 8 秒。</translation>
    </message>
    <message>
        <source>scope : 0 - 400,Please ReInput</source>
        <translation>范围：0 - 400，请重新输入</translation>
    </message>
    <message>
        <source>Event</source>
        <translation>事件</translation>
    </message>
    <message>
        <source>scope : 0 - 2203,Please ReInput</source>
        <translation>范围：0 - 2203，请重新输入</translation>
    </message>
    <message>
        <source>SpO2       (10% per division)</source>
        <translation>SpO2       （每格 10%）</translation>
    </message>
    <message>
        <source>Pulse Rate (20 BPM per division)</source>
        <translation>脉率（每格 20 BPM）</translation>
    </message>
    <message>
        <source>Page:          </source>
        <translation>页码：        </translation>
    </message>
    <message>
        <source>Please input a num which is between 1 and</source>
        <translation>请输入一个数，范围为 1 到</translation>
    </message>
    <message>
        <source>Event Data</source>
        <translation>事件数据</translation>
    </message>
    <message>
        <source>Total Events.</source>
        <translation>事件总数.</translation>
    </message>
    <message>
        <source>Time In Events.(Sec)</source>
        <translation>事件内时间.(秒)</translation>
    </message>
    <message>
        <source>Avg.Event Dur.(Sec)</source>
        <translation>平均事件时长.(秒)</translation>
    </message>
    <message>
        <source>Index.(1/hr)</source>
        <translation>指数.(1/小时)</translation>
    </message>
    <message>
        <source>Avg.Event Max.</source>
        <translation>事件平均最大值.</translation>
    </message>
    <message>
        <source>Avg.Event Min.</source>
        <translation>事件平均最小值.</translation>
    </message>
    <message>
        <source>Max.Event offset.</source>
        <translation>事件最大降幅.</translation>
    </message>
    <message>
        <source>Max Time.Event.(Sec)</source>
        <translation>事件最长时间.(秒)</translation>
    </message>
    <message>
        <source>Max Dur.</source>
        <translation>最大值</translation>
    </message>
    <message>
        <source>Min Dur.</source>
        <translation>最小值</translation>
    </message>
    <message>
        <source>Avg Dur.</source>
        <translation>平均值</translation>
    </message>
    <message>
        <source>Diagnose:</source>
        <translation>诊断:</translation>
    </message>
    <message>
        <source>Please input a num between 40 and 100 !</source>
        <translation>请输入 40 到 100 之间的数字!</translation>
    </message>
    <message>
        <source>Please input a num between 15 and 300 !</source>
        <translation>请输入 15 到 300 之间的数字!</translation>
    </message>
    <message>
        <source>Please input a num between 1 and 20 !</source>
        <translation>请输入 1 到 20 之间的数字!</translation>
    </message>
    <message>
        <source>Error ! The SpO2 high value must large than low value !</source>
        <translation>错误!SpO2 高值必须大于低值!</translation>
    </message>
    <message>
        <source>Error ! The PR high value must large than low value !</source>
        <translation>错误!脉率高值必须大于低值!</translation>
    </message>
</context>
<context>
    <name>TrendView</name>
    <message>
        <source>Marked by hand</source>
        <translation>手动标记</translation>
    </message>
    <message>
        <source>Mark as artefact</source>
        <translation>标记为伪差</translation>
    </message>
    <message>
        <source>Clear artefact mark</source>
        <translation>清除伪差标记</translation>
    </message>
    <message>
        <source>Shaded: artefact</source>
        <translation>阴影：伪差</translation>
    </message>
</context>
<context>
    <name>UnitSetupDialog</name>
    <message>
        <source>Unit setup</source>
        <translation>单位设置</translation>
    </message>
    <message>
        <source>The &amp;Britain System</source>
        <translation>英制(&amp;B)</translation>
    </message>
    <message>
        <source>The &amp;Metric System</source>
        <translation>公制(&amp;M)</translation>
    </message>
</context>
</TS>
