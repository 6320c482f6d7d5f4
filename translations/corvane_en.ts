<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>AboutItems</name>
    <message>
        <source>岚签 %1</source>
        <translation>Corvane %1</translation>
    </message>
    <message>
        <source>联系 Corvane 项目</source>
        <translation>Contact the Corvane project</translation>
    </message>
</context>
<context>
    <name>AccountDocument</name>
    <message>
        <source>无法备份无法读取的旧列表</source>
        <translation>cannot back up the unreadable old list</translation>
    </message>
</context>
<context>
    <name>AccountList</name>
    <message>
        <source>验证码</source>
        <translation>Account</translation>
    </message>
    <message>
        <source>名称没有修改。</source>
        <translation>The name was not changed.</translation>
    </message>
    <message>
        <source>顺序没有改变。</source>
        <translation>The order was not changed.</translation>
    </message>
    <message>
        <source>%1。%2</source>
        <translation>%1. %2</translation>
    </message>
    <message>
        <source>没有显示验证码。</source>
        <translation>No code was shown.</translation>
    </message>
</context>
<context>
    <name>AccountQrDialog</name>
    <message>
        <source>二维码包含密钥，请勿截图或分享。</source>
        <translation>This QR code contains the secret. Do not screenshot or share it.</translation>
    </message>
    <message numerus="yes">
        <source>%n 秒后自动关闭</source>
        <translation>
            <numerusform>Closes in %n second</numerusform>
            <numerusform>Closes in %n seconds</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>AddFlows</name>
    <message>
        <source>剪贴板里没有文字。</source>
        <translation>There is no text on the clipboard.</translation>
    </message>
    <message>
        <source>这不像有效的 Base32 密钥，请检查后重试。</source>
        <translation>Not a valid Base32 secret. Check it and try again.</translation>
    </message>
</context>
<context>
    <name>AddTokenView</name>
    <message>
        <source>%1%2</source>
        <comment>one refusal after another</comment>
        <translation>%1 %2</translation>
    </message>
    <message>
        <source>添加验证码</source>
        <translation>Add account</translation>
    </message>
    <message>
        <source>密钥仅保存在这台电脑的钥匙串中</source>
        <translation>The secret stays in this computer’s keychain</translation>
    </message>
    <message>
        <source>添加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>从图片读取二维码…</source>
        <translation>Read QR code from image…</translation>
    </message>
    <message>
        <source>扫描屏幕二维码</source>
        <translation>Scan QR code on screen</translation>
    </message>
    <message>
        <source>显示链接和密钥</source>
        <translation>Show link and secret</translation>
    </message>
    <message>
        <source>粘贴 otpauth:// 链接</source>
        <translation>Paste an otpauth:// link</translation>
    </message>
    <message>
        <source>otpauth 链接</source>
        <translation>otpauth link</translation>
    </message>
    <message>
        <source>或手动填写</source>
        <translation>Or enter it manually</translation>
    </message>
    <message>
        <source>密钥</source>
        <translation>Secret</translation>
    </message>
    <message>
        <source>Base32 密钥</source>
        <translation>Base32 secret</translation>
    </message>
    <message>
        <source>从图片读取二维码</source>
        <translation>Read QR code from image</translation>
    </message>
    <message>
        <source>图片 (*.png *.jpg *.jpeg *.bmp *.gif *.webp)</source>
        <translation>Images (*.png *.jpg *.jpeg *.bmp *.gif *.webp)</translation>
    </message>
    <message numerus="yes">
        <source>已添加 %n 个账户</source>
        <translation>
            <numerusform>Added %n account</numerusform>
            <numerusform>Added %n accounts</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>，%n 个已存在，已跳过</source>
        <translation>
            <numerusform>, skipped %n already present</numerusform>
            <numerusform>, skipped %n already present</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>，%n 个未添加</source>
        <translation>
            <numerusform>, %n not added</numerusform>
            <numerusform>, %n not added</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>，已停止，其余 %n 个没有添加</source>
        <translation>
            <numerusform>, then stopped; %n more not added</numerusform>
            <numerusform>, then stopped; %n more not added</numerusform>
        </translation>
    </message>
    <message>
        <source>。</source>
        <translation>.</translation>
    </message>
    <message>
        <source>这是第 %1/%2 张二维码，请继续读取下一张。</source>
        <translation> This was QR code %1 of %2: read the next one.</translation>
    </message>
    <message>
        <source>未添加：%1</source>
        <translation>Not added: %1</translation>
    </message>
</context>
<context>
    <name>AegisVault</name>
    <message>
        <source>scrypt 参数过大</source>
        <translation>scrypt parameters too large</translation>
    </message>
    <message>
        <source>没有密码槽</source>
        <translation>no password slot</translation>
    </message>
    <message>
        <source>加密失败</source>
        <translation>encryption failed</translation>
    </message>
    <message>
        <source>Aegis 文件版本</source>
        <translation>Aegis file version</translation>
    </message>
</context>
<context>
    <name>AndOtpEncrypted</name>
    <message>
        <source>PBKDF2 迭代次数过大</source>
        <translation>PBKDF2 iteration count too large</translation>
    </message>
</context>
<context>
    <name>AppDelegate</name>
    <message>
        <source>导入图标包…</source>
        <translation>Import Icon Pack…</translation>
    </message>
</context>
<context>
    <name>BackupCommand</name>
    <message>
        <source>文件夹</source>
        <translation>folder</translation>
    </message>
    <message>
        <source>份数</source>
        <translation>count</translation>
    </message>
    <message>
        <source>用法：corvane --backup-setup 文件夹 [--backup-keep 份数] | --backup-off | --backup-now</source>
        <translation>Usage: corvane --backup-setup FOLDER [--backup-keep COUNT] | --backup-off | --backup-now</translation>
    </message>
    <message>
        <source>备份密码：</source>
        <translation>Backup password: </translation>
    </message>
    <message>
        <source>再次输入密码：</source>
        <translation>Password again: </translation>
    </message>
    <message>
        <source>两次输入的密码不一致。</source>
        <translation>The passwords do not match.</translation>
    </message>
    <message>
        <source>自动备份已开启：%1</source>
        <translation>Automatic backups are on: %1</translation>
    </message>
    <message>
        <source>自动备份已关闭。</source>
        <translation>Automatic backups are off.</translation>
    </message>
    <message>
        <source>备份已写入并通过校验。</source>
        <translation>Backup written and verified.</translation>
    </message>
</context>
<context>
    <name>BackupFailure</name>
    <message>
        <source>找不到备份文件夹。</source>
        <translation>Backup folder not found.</translation>
    </message>
    <message>
        <source>备份文件夹不可写入。</source>
        <translation>Backup folder is not writable.</translation>
    </message>
    <message>
        <source>磁盘已满，备份未写入。</source>
        <translation>Disk full; backup not written.</translation>
    </message>
    <message>
        <source>备份未通过校验。</source>
        <translation>Backup failed verification.</translation>
    </message>
    <message>
        <source>钥匙串已锁定，备份未写入。</source>
        <translation>Keychain locked; backup not written.</translation>
    </message>
    <message>
        <source>备份密钥丢失，请重新设置。</source>
        <translation>Backup key lost; set up again.</translation>
    </message>
    <message>
        <source>自动备份未开启。</source>
        <translation>Automatic backups are off.</translation>
    </message>
    <message>
        <source>缺少备份组件。</source>
        <translation>Backup component missing.</translation>
    </message>
</context>
<context>
    <name>BackupFeature</name>
    <message>
        <source>自动备份失败</source>
        <translation>Automatic backup failed</translation>
    </message>
    <message>
        <source>选择文件夹…</source>
        <translation>Choose folder…</translation>
    </message>
    <message>
        <source>重试</source>
        <translation>Retry</translation>
    </message>
    <message>
        <source>选择备份文件夹</source>
        <translation>Choose backup folder</translation>
    </message>
    <message>
        <source>自动备份…</source>
        <translation>Automatic backups…</translation>
    </message>
    <message numerus="yes">
        <source>另一台电脑的备份里有 %n 个新账户</source>
        <translation>
            <numerusform>Another computer&apos;s backup has %n new account</numerusform>
            <numerusform>Another computer&apos;s backup has %n new accounts</numerusform>
        </translation>
    </message>
    <message>
        <source>查看…</source>
        <translation>View…</translation>
    </message>
    <message>
        <source>从备份恢复…</source>
        <translation>Restore from backup…</translation>
    </message>
    <message>
        <source>自动备份尚未开启，没有可恢复的备份。</source>
        <translation>Automatic backups are off, so there is no backup to restore.</translation>
    </message>
</context>
<context>
    <name>BackupRestoreSheet</name>
    <message>
        <source>从备份恢复</source>
        <translation>Restore from backup</translation>
    </message>
    <message>
        <source>选择一份自动备份，导入其中这台电脑没有的账户</source>
        <translation>Choose an automatic backup to import the accounts this computer lacks</translation>
    </message>
    <message>
        <source>恢复…</source>
        <translation>Restore…</translation>
    </message>
    <message>
        <source>正在读取备份…</source>
        <translation>Reading backups…</translation>
    </message>
    <message>
        <source>备份</source>
        <translation>Backups</translation>
    </message>
    <message>
        <source>%1（这台电脑）</source>
        <translation>%1 (this computer)</translation>
    </message>
    <message numerus="yes">
        <source>%n 个账户</source>
        <translation>
            <numerusform>%n account</numerusform>
            <numerusform>%n accounts</numerusform>
        </translation>
    </message>
    <message>
        <source>需要密码</source>
        <translation>Needs its password</translation>
    </message>
    <message>
        <source>无法读取</source>
        <translation>Cannot be read</translation>
    </message>
    <message>
        <source>%1 · %2
%3</source>
        <translation>%1 · %2
%3</translation>
    </message>
    <message>
        <source>文件夹中还没有备份。</source>
        <translation>There are no backups in the folder yet.</translation>
    </message>
    <message numerus="yes">
        <source>共 %n 份备份，最新的在最上面。</source>
        <translation>
            <numerusform>%n backup, newest first.</numerusform>
            <numerusform>%n backups, newest first.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>BackupService</name>
    <message>
        <source>没有收到密码。</source>
        <translation>No password was received.</translation>
    </message>
</context>
<context>
    <name>BackupSetup</name>
    <message numerus="yes">
        <source>密码至少要有 %n 个字符。</source>
        <translation>
            <numerusform>The password needs at least %n character.</numerusform>
            <numerusform>The password needs at least %n characters.</numerusform>
        </translation>
    </message>
    <message>
        <source>密码与文件夹中另一台电脑的备份不同。</source>
        <translation>This password does not open the other computer’s backups in that folder.</translation>
    </message>
    <message>
        <source>无法生成备份密钥。</source>
        <translation>Could not create the backup key.</translation>
    </message>
</context>
<context>
    <name>BackupSetupSheet</name>
    <message>
        <source>自动备份</source>
        <translation>Automatic backups</translation>
    </message>
    <message>
        <source>每次更改后，加密备份到所选文件夹</source>
        <translation>Encrypted to a folder after every change</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>开启</source>
        <translation>Turn on</translation>
    </message>
    <message>
        <source>新密码（不改可留空）</source>
        <translation>New password (blank keeps it)</translation>
    </message>
    <message>
        <source>备份密码</source>
        <translation>Backup password</translation>
    </message>
    <message>
        <source>再输入一次</source>
        <translation>Repeat password</translation>
    </message>
    <message>
        <source>尚未选择文件夹</source>
        <translation>No folder chosen</translation>
    </message>
    <message>
        <source>备份文件夹</source>
        <translation>Backup folder</translation>
    </message>
    <message>
        <source>选择…</source>
        <translation>Choose…</translation>
    </message>
    <message>
        <source>保留份数</source>
        <translation>Backups to keep</translation>
    </message>
    <message>
        <source>保留最近的备份：</source>
        <translation>Keep the latest:</translation>
    </message>
    <message>
        <source>关闭自动备份</source>
        <translation>Turn off automatic backups</translation>
    </message>
    <message>
        <source>自动备份尚未开启。</source>
        <translation>Automatic backups are off.</translation>
    </message>
    <message>
        <source>尚无</source>
        <translation>none yet</translation>
    </message>
    <message>
        <source>正常</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>上次备份：%1 · %2</source>
        <translation>Last backup: %1 · %2</translation>
    </message>
    <message>
        <source>选择备份文件夹</source>
        <translation>Choose backup folder</translation>
    </message>
    <message numerus="yes">
        <source>密码至少要有 %n 个字符，越长越难猜。</source>
        <translation>
            <numerusform>The password needs at least %n character; longer is harder to guess.</numerusform>
            <numerusform>The password needs at least %n characters; longer is harder to guess.</numerusform>
        </translation>
    </message>
    <message>
        <source>两次输入的密码不一致。</source>
        <translation>The passwords do not match.</translation>
    </message>
</context>
<context>
    <name>BitwardenExport</name>
    <message>
        <source>Bitwarden 加密导出</source>
        <translation>Bitwarden encrypted export</translation>
    </message>
</context>
<context>
    <name>CodeCommand</name>
    <message>
        <source>无法取得验证码：%1。</source>
        <translation>No code: %1.</translation>
    </message>
    <message>
        <source>用法：corvane --code 查询</source>
        <translation>Usage: corvane --code QUERY</translation>
    </message>
    <message>
        <source>无法创建管道。</source>
        <translation>Cannot create a pipe.</translation>
    </message>
    <message>
        <source>岚签已在运行，但没有响应。</source>
        <translation>Corvane is already running but does not respond.</translation>
    </message>
    <message>
        <source>没有与“%1”匹配的账户。</source>
        <translation>No account matches “%1”.</translation>
    </message>
    <message>
        <source>钥匙串中没有此账户的密钥。</source>
        <translation>The keychain holds no secret for this account.</translation>
    </message>
</context>
<context>
    <name>CodeService</name>
    <message>
        <source>会话已锁定</source>
        <translation>The session is locked</translation>
    </message>
    <message>
        <source>钥匙串已锁定</source>
        <translation>The keychain is locked</translation>
    </message>
    <message>
        <source>无法读取钥匙串</source>
        <translation>The keychain cannot be read</translation>
    </message>
    <message>
        <source>验证码已隐藏</source>
        <translation>Codes are hidden</translation>
    </message>
    <message>
        <source>此桌面不支持模拟键盘输入</source>
        <translation>This desktop cannot type for programs</translation>
    </message>
</context>
<context>
    <name>CodeSettingsFields</name>
    <message>
        <source> 位</source>
        <translation> digits</translation>
    </message>
    <message>
        <source> 秒</source>
        <translation> s</translation>
    </message>
    <message>
        <source>高级</source>
        <translation>Advanced</translation>
    </message>
    <message>
        <source>算法</source>
        <translation>Algorithm</translation>
    </message>
    <message>
        <source>位数</source>
        <translation>Digits</translation>
    </message>
    <message>
        <source>周期</source>
        <translation>Period</translation>
    </message>
    <message>
        <source>%1 · %2 位 · %3 秒</source>
        <translation>%1 · %2 digits · %3 s</translation>
    </message>
    <message>
        <source>基于时间（TOTP）</source>
        <translation>Time-based (TOTP)</translation>
    </message>
    <message>
        <source>基于计数器（HOTP）</source>
        <translation>Counter-based (HOTP)</translation>
    </message>
    <message>
        <source>类型</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>计数器</source>
        <translation>Counter</translation>
    </message>
    <message>
        <source>HOTP · %1 · %2 位 · 计数器 %3</source>
        <translation>HOTP · %1 · %2 digits · counter %3</translation>
    </message>
</context>
<context>
    <name>CodesAdaptor</name>
    <message>
        <source>钥匙串中没有此账户的密钥</source>
        <translation>The keychain holds no secret for this account</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>在置顶小窗中显示两步验证码（TOTP）。</source>
        <translation>Shows two-factor codes (TOTP) in a small always-on-top panel.</translation>
    </message>
    <message>
        <source>启动时不显示浮窗（用于登录时自动启动）。</source>
        <translation>Start with the panel hidden (for starting at login).</translation>
    </message>
    <message>
        <source>显示或隐藏正在运行的岚签的浮窗（未运行时启动它）。</source>
        <translation>Show or hide the running Corvane’s panel (start Corvane if it is not running).</translation>
    </message>
    <message>
        <source>显示正在运行的岚签的浮窗（未运行时启动它）。</source>
        <translation>Show the running Corvane’s panel (start Corvane if it is not running).</translation>
    </message>
    <message>
        <source>隐藏正在运行的岚签的浮窗。</source>
        <translation>Hide the running Corvane’s panel.</translation>
    </message>
    <message>
        <source>文件</source>
        <translation>file</translation>
    </message>
    <message>
        <source>要导入的备份：Aegis、2FAS、Ente Auth、andOTP、FreeOTP+、Authenticator Pro、Bitwarden 或 Proton Authenticator 的备份或导出，Steam maFile，或 otpauth 链接列表。</source>
        <translation>Backups to import: Aegis, 2FAS, Ente Auth, andOTP, FreeOTP+, Authenticator Pro, Bitwarden or Proton Authenticator backups and exports, Steam maFiles, or lists of otpauth links.</translation>
    </message>
    <message>
        <source>[文件…]</source>
        <translation>[file…]</translation>
    </message>
    <message>
        <source>岚签已在运行，但没有响应。</source>
        <translation>Corvane is already running but does not respond.</translation>
    </message>
    <message>
        <source>岚签</source>
        <translation>Corvane</translation>
    </message>
    <message>
        <source>检查备份而不导入：每个账户一行，从不显示密钥。</source>
        <translation>Check a backup without importing it: one line per account, never a secret.</translation>
    </message>
    <message>
        <source>在此文件夹中开启自动备份（密码从终端或标准输入读取）。</source>
        <translation>Turn on automatic backups to this folder (the password is read from the terminal or standard input).</translation>
    </message>
    <message>
        <source>文件夹</source>
        <translation>folder</translation>
    </message>
    <message>
        <source>与 --backup-setup 一起使用：保留的备份份数（默认 10，至少 3）。</source>
        <translation>With --backup-setup: how many backups to keep (10 by default, 3 at least).</translation>
    </message>
    <message>
        <source>份数</source>
        <translation>count</translation>
    </message>
    <message>
        <source>关闭自动备份。</source>
        <translation>Turn off automatic backups.</translation>
    </message>
    <message>
        <source>立即写入一份备份；通过校验时才以 0 退出。</source>
        <translation>Write a backup now; exit 0 only when it was verified.</translation>
    </message>
    <message>
        <source>打印发行方或名称与查询匹配的唯一账户的当前验证码（多个匹配时以 2 退出）。</source>
        <translation>Print the current code of the one account whose issuer or name matches the query (exits 2 when several match).</translation>
    </message>
    <message>
        <source>查询</source>
        <translation>query</translation>
    </message>
    <message>
        <source>列出账户：每行为发行方、名称和类型，以制表符分隔。</source>
        <translation>List the accounts: issuer, name and type on each line, separated by tabs.</translation>
    </message>
</context>
<context>
    <name>CorvaneApp</name>
    <message>
        <source>岚签</source>
        <translation>Corvane</translation>
    </message>
    <message>
        <source>岚签仍在运行。再次打开岚签，即可显示浮窗。</source>
        <translation>Corvane is still running. Open Corvane again to show the panel.</translation>
    </message>
    <message>
        <source>岚签已隐藏</source>
        <translation>Corvane is hidden</translation>
    </message>
</context>
<context>
    <name>DeleteButton</name>
    <message>
        <source>删除这个验证码</source>
        <translation>Delete this account</translation>
    </message>
</context>
<context>
    <name>DesktopNotifier</name>
    <message>
        <source>岚签</source>
        <translation>Corvane</translation>
    </message>
</context>
<context>
    <name>DetailEditor</name>
    <message>
        <source>备注没有修改。</source>
        <translation>The note was not changed.</translation>
    </message>
    <message>
        <source>收藏没有改变。</source>
        <translation>The favourite was not changed.</translation>
    </message>
    <message>
        <source>图标没有改变。</source>
        <translation>The icon was not changed.</translation>
    </message>
</context>
<context>
    <name>EditTokenView</name>
    <message>
        <source>重命名验证码</source>
        <translation>Rename account</translation>
    </message>
    <message>
        <source>不会修改密钥或验证码内容</source>
        <translation>The secret and the codes stay the same</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>%1。名称没有修改。</source>
        <translation>%1. The name was not changed.</translation>
    </message>
    <message>
        <source>不会修改密钥；更改计数器会改变验证码</source>
        <translation>The secret stays the same; changing the counter changes the codes</translation>
    </message>
</context>
<context>
    <name>EmptyStateView</name>
    <message>
        <source>点击验证码即可复制</source>
        <translation>Click a code to copy it</translation>
    </message>
    <message>
        <source>粘贴密钥，即刻生成</source>
        <translation>Paste a secret to get its code</translation>
    </message>
</context>
<context>
    <name>EnteEncrypted</name>
    <message>
        <source>Argon2 参数过大</source>
        <translation>Argon2 parameters too large</translation>
    </message>
    <message>
        <source>Ente 导出版本</source>
        <translation>Ente export version</translation>
    </message>
</context>
<context>
    <name>ExportFlow</name>
    <message>
        <source>Aegis 加密备份 (*.json)</source>
        <translation>Aegis encrypted backup (*.json)</translation>
    </message>
    <message>
        <source>otpauth 链接，不加密 (*.txt)</source>
        <translation>otpauth links, unencrypted (*.txt)</translation>
    </message>
    <message>
        <source>没有可导出的账户。</source>
        <translation>There are no accounts to export.</translation>
    </message>
    <message>
        <source>导出备份</source>
        <translation>Export backup</translation>
    </message>
    <message>
        <source>这个文件不加密：任何拿到它的人都能生成你全部账户的验证码。只在马上导入另一个应用并随后删除文件时使用。
仍要导出吗？</source>
        <translation>This file is not encrypted: anyone who gets it can generate the codes of all your accounts. Use it only to import into another app right away, then delete the file.
Export anyway?</translation>
    </message>
    <message>
        <source>仍然导出</source>
        <translation>Export anyway</translation>
    </message>
    <message>
        <source>备份用这个密码加密，保存为 Aegis 格式，Aegis 等应用也能导入。忘记密码就无法打开备份。</source>
        <translation>The backup is encrypted with this password and saved in the Aegis format, which Aegis and other apps can import. Without the password the backup cannot be opened.</translation>
    </message>
    <message>
        <source>加密失败</source>
        <translation>encryption failed</translation>
    </message>
    <message numerus="yes">
        <source>已导出 %n 个账户。</source>
        <translation>
            <numerusform>Exported %n account.</numerusform>
            <numerusform>Exported %n accounts.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>另有 %n 个账户读不到密钥，没有导出。</source>
        <translation>
            <numerusform> %n more account has no readable secret and was not exported.</numerusform>
            <numerusform> %n more accounts have no readable secret and were not exported.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ForeignEntry</name>
    <message>
        <source>不支持的验证码类型：%1。</source>
        <translation>Unsupported code type: %1.</translation>
    </message>
    <message>
        <source>不支持的算法：%1。</source>
        <translation>Unsupported algorithm: %1.</translation>
    </message>
</context>
<context>
    <name>GlobalShortcut</name>
    <message>
        <source>全局快捷键：%1</source>
        <translation>Global shortcut: %1</translation>
    </message>
    <message>
        <source>全局快捷键 %1：等待桌面确认</source>
        <translation>Global shortcut %1: waiting for the desktop</translation>
    </message>
    <message>
        <source>全局快捷键 %1 已被其他程序占用</source>
        <translation>Global shortcut %1 is taken by another program</translation>
    </message>
    <message>
        <source>此桌面不提供全局快捷键：可在系统的键盘快捷键设置中为命令 %1 添加快捷键</source>
        <translation>This desktop offers no global shortcuts: add one for the command %1 in the system’s keyboard shortcut settings</translation>
    </message>
    <message>
        <source>岚签仍在运行。按 %1 或再次打开岚签，即可显示浮窗。</source>
        <translation>Corvane is still running. Press %1 or open Corvane again to show the panel.</translation>
    </message>
    <message>
        <source>岚签仍在运行。再次打开岚签，或运行 %1（可在系统的键盘快捷键设置中为它添加快捷键），即可显示浮窗。</source>
        <translation>Corvane is still running. Open Corvane again or run %1 (you can give it a shortcut in the system’s keyboard shortcut settings) to show the panel.</translation>
    </message>
    <message>
        <source>显示或隐藏岚签浮窗</source>
        <translation>Show or hide the Corvane panel</translation>
    </message>
</context>
<context>
    <name>HideCodesItem</name>
    <message>
        <source>隐藏验证码</source>
        <translation>Hide codes</translation>
    </message>
</context>
<context>
    <name>IconPackReader</name>
    <message>
        <source>不是 Aegis 图标包（没有 pack.json）</source>
        <translation>Not an Aegis icon pack (no pack.json)</translation>
    </message>
</context>
<context>
    <name>ImportBatch</name>
    <message>
        <source>%1（%2）</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>密钥或参数无效。</source>
        <translation>The secret or its settings are invalid.</translation>
    </message>
</context>
<context>
    <name>ImportFlow</name>
    <message>
        <source>导入</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>验证码备份 (*.json *.2fas *.txt *.csv *.maFile *.bin *.authpro);;所有文件 (*)</source>
        <translation>Account backups (*.json *.2fas *.txt *.csv *.maFile *.bin *.authpro);;All files (*)</translation>
    </message>
    <message numerus="yes">
        <source>已添加 %n 个账户。</source>
        <translation>
            <numerusform>Added %n account.</numerusform>
            <numerusform>Added %n accounts.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>导入已停止，其余 %n 个账户没有添加。</source>
        <translation>
            <numerusform>The import was stopped; %n more account was not added.</numerusform>
            <numerusform>The import was stopped; %n more accounts were not added.</numerusform>
        </translation>
    </message>
    <message>
        <source>没有添加 %1：%2</source>
        <translation>Not added: %1: %2</translation>
    </message>
    <message numerus="yes">
        <source>另有 %n 个账户没有添加。</source>
        <translation>
            <numerusform>%n more account was not added.</numerusform>
            <numerusform>%n more accounts were not added.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ImportFormat</name>
    <message>
        <source>Aegis 加密备份</source>
        <translation>Aegis encrypted backup</translation>
    </message>
    <message>
        <source>Aegis 备份</source>
        <translation>Aegis backup</translation>
    </message>
    <message>
        <source>2FAS 加密备份</source>
        <translation>2FAS encrypted backup</translation>
    </message>
    <message>
        <source>2FAS 备份</source>
        <translation>2FAS backup</translation>
    </message>
    <message>
        <source>Ente Auth 加密导出</source>
        <translation>Ente Auth encrypted export</translation>
    </message>
    <message>
        <source>Authenticator Pro 加密备份</source>
        <translation>Authenticator Pro encrypted backup</translation>
    </message>
    <message>
        <source>Authenticator Pro 旧版加密备份</source>
        <translation>Authenticator Pro legacy encrypted backup</translation>
    </message>
    <message>
        <source>Bitwarden 导出</source>
        <translation>Bitwarden export</translation>
    </message>
    <message>
        <source>Proton Authenticator 导出</source>
        <translation>Proton Authenticator export</translation>
    </message>
    <message>
        <source>FreeOTP+ 备份</source>
        <translation>FreeOTP+ backup</translation>
    </message>
    <message>
        <source>Authenticator Pro 备份</source>
        <translation>Authenticator Pro backup</translation>
    </message>
    <message>
        <source>Steam 令牌文件（maFile）</source>
        <translation>Steam token file (maFile)</translation>
    </message>
    <message>
        <source>andOTP 备份</source>
        <translation>andOTP backup</translation>
    </message>
    <message>
        <source>Bitwarden 导出（CSV）</source>
        <translation>Bitwarden export (CSV)</translation>
    </message>
    <message>
        <source>otpauth 链接列表</source>
        <translation>otpauth link list</translation>
    </message>
    <message>
        <source>andOTP 加密备份</source>
        <translation>andOTP encrypted backup</translation>
    </message>
</context>
<context>
    <name>ImportProgressDialog</name>
    <message>
        <source>岚签</source>
        <translation>Corvane</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>正在停止，已开始的一批账户添加完就停下…</source>
        <translation>Stopping once the accounts already started are added…</translation>
    </message>
    <message numerus="yes">
        <source>正在添加 %1 / %n 个账户…</source>
        <translation>
            <numerusform>Adding %1 of %n account…</numerusform>
            <numerusform>Adding %1 of %n accounts…</numerusform>
        </translation>
    </message>
    <message>
        <source>钥匙串没有响应，导入已暂停，它恢复后会自动继续…</source>
        <translation>The keychain is not responding. The import is paused and will go on when it answers…</translation>
    </message>
    <message>
        <source>钥匙串已恢复，继续添加…</source>
        <translation>The keychain is back. Adding accounts…</translation>
    </message>
</context>
<context>
    <name>ImportQueue</name>
    <message numerus="yes">
        <source>一次最多排队导入 %n 个文件，这些文件没有导入：</source>
        <translation>
            <numerusform>At most %n file can wait to be imported at once. These were not imported:</numerusform>
            <numerusform>At most %n files can wait to be imported at once. These were not imported:</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ImportSummaryDialog</name>
    <message numerus="yes">
        <source>  ……另有 %n 个</source>
        <translation>
            <numerusform>  …and %n more</numerusform>
            <numerusform>  …and %n more</numerusform>
        </translation>
    </message>
    <message>
        <source>文件格式：%1</source>
        <translation>File format: %1</translation>
    </message>
    <message numerus="yes">
        <source>新账户：%n 个</source>
        <translation>
            <numerusform>New accounts: %n</numerusform>
            <numerusform>New accounts: %n</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>已存在（将跳过）：%n 个</source>
        <translation>
            <numerusform>Already present (skipped): %n</numerusform>
            <numerusform>Already present (skipped): %n</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>无法导入：%n 个</source>
        <translation>
            <numerusform>Cannot be imported: %n</numerusform>
            <numerusform>Cannot be imported: %n</numerusform>
        </translation>
    </message>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>导入账户</source>
        <translation>Import accounts</translation>
    </message>
    <message>
        <source>添加前请看一下将会发生什么</source>
        <translation>Check what will happen before anything is added</translation>
    </message>
    <message numerus="yes">
        <source>添加 %n 个账户</source>
        <translation>
            <numerusform>Add %n account</numerusform>
            <numerusform>Add %n accounts</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>InspectCommand</name>
    <message>
        <source>密码：</source>
        <translation>Password: </translation>
    </message>
    <message>
        <source>用法：corvane --inspect 文件</source>
        <translation>Usage: corvane --inspect FILE</translation>
    </message>
</context>
<context>
    <name>Intake</name>
    <message>
        <source>验证码</source>
        <translation>Account</translation>
    </message>
</context>
<context>
    <name>InteractiveFloatingPanel</name>
    <message>
        <source>岚签</source>
        <translation>Corvane</translation>
    </message>
</context>
<context>
    <name>KeychainStatusPresenter</name>
    <message>
        <source>钥匙串已锁定。</source>
        <translation>The keychain is locked.</translation>
    </message>
    <message>
        <source>解锁</source>
        <translation>Unlock</translation>
    </message>
    <message>
        <source>创建</source>
        <translation>Create</translation>
    </message>
    <message>
        <source>无法连接钥匙串服务，稍后自动重试。</source>
        <translation>Cannot reach the keychain; retrying shortly.</translation>
    </message>
    <message>
        <source>没有默认钥匙串。</source>
        <translation>No default keychain.</translation>
    </message>
</context>
<context>
    <name>LinkError</name>
    <message>
        <source>不支持的算法“%1”，仅支持 SHA1、SHA256 和 SHA512。</source>
        <translation>Unsupported algorithm “%1”: only SHA1, SHA256 and SHA512 are supported.</translation>
    </message>
</context>
<context>
    <name>LinkIntake</name>
    <message numerus="yes">
        <source>迁移链接中有 %n 个账户</source>
        <translation>
            <numerusform>The export link holds %n account</numerusform>
            <numerusform>The export link holds %n accounts</numerusform>
        </translation>
    </message>
    <message>
        <source>（第 %1/%2 张二维码）</source>
        <translation> (QR code %1 of %2)</translation>
    </message>
    <message>
        <source>：</source>
        <translation>:</translation>
    </message>
    <message>
        <source>· %1&#x3000;%2 位 · 计数器 %3</source>
        <translation>· %1  %2 digits · counter %3</translation>
    </message>
    <message>
        <source>· %1&#x3000;%2 位 · %3 秒</source>
        <translation>· %1  %2 digits · %3 s</translation>
    </message>
    <message>
        <source>· %1不会添加。</source>
        <translation>· %1 Will not be added.</translation>
    </message>
    <message numerus="yes">
        <source>· ……另有 %n 个</source>
        <translation>
            <numerusform>· …and %n more</numerusform>
            <numerusform>· …and %n more</numerusform>
        </translation>
    </message>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>MenuCommands</name>
    <message>
        <source>不自动清除</source>
        <translation>Never</translation>
    </message>
    <message numerus="yes">
        <source>%n 秒</source>
        <translation>
            <numerusform>%n second</numerusform>
            <numerusform>%n seconds</numerusform>
        </translation>
    </message>
    <message>
        <source>导出备份…</source>
        <translation>Export backup…</translation>
    </message>
    <message>
        <source>导入…</source>
        <translation>Import…</translation>
    </message>
    <message>
        <source>关于岚签</source>
        <translation>About Corvane</translation>
    </message>
    <message>
        <source>复制后清除剪贴板</source>
        <translation>Clear clipboard after copying</translation>
    </message>
    <message>
        <source>窗口透明度</source>
        <translation>Panel opacity</translation>
    </message>
    <message>
        <source>显示浮窗</source>
        <translation>Show panel</translation>
    </message>
    <message>
        <source>退出岚签</source>
        <translation>Quit Corvane</translation>
    </message>
    <message>
        <source>自动备份…</source>
        <translation>Automatic backups…</translation>
    </message>
    <message>
        <source>从备份恢复…</source>
        <translation>Restore from backup…</translation>
    </message>
    <message>
        <source>导入图标包…</source>
        <translation>Import Icon Pack…</translation>
    </message>
</context>
<context>
    <name>OpacityPopover</name>
    <message>
        <source>轻透</source>
        <translation>Light</translation>
    </message>
    <message>
        <source>清晰</source>
        <translation>Crisp</translation>
    </message>
    <message>
        <source>不透明</source>
        <translation>Opaque</translation>
    </message>
</context>
<context>
    <name>OtpauthLinks</name>
    <message>
        <source>第 %1 行</source>
        <translation>Line %1</translation>
    </message>
    <message>
        <source>不是可用的 otpauth 链接</source>
        <translation>not a usable otpauth link</translation>
    </message>
    <message>
        <source>已在 Ente 中移到回收站</source>
        <translation>In Ente&apos;s trash</translation>
    </message>
</context>
<context>
    <name>PanelHeader</name>
    <message>
        <source>岚签</source>
        <translation>Corvane</translation>
    </message>
    <message>
        <source>按 Esc 清除筛选</source>
        <translation>Press Esc to clear the filter</translation>
    </message>
    <message>
        <source>从剪贴板粘贴密钥并生成（Ctrl+Shift+V）</source>
        <translation>Paste a secret from the clipboard and add it (Ctrl+Shift+V)</translation>
    </message>
    <message>
        <source>粘贴密钥并生成验证码</source>
        <translation>Paste secret and add account</translation>
    </message>
    <message>
        <source>高级添加：名称、服务和 otpauth 链接</source>
        <translation>Add with details: name, service and otpauth link</translation>
    </message>
    <message>
        <source>添加验证码</source>
        <translation>Add account</translation>
    </message>
    <message>
        <source>调整窗口透明度</source>
        <translation>Adjust panel opacity</translation>
    </message>
    <message>
        <source>窗口透明度</source>
        <translation>Panel opacity</translation>
    </message>
    <message>
        <source>退出岚签</source>
        <translation>Quit Corvane</translation>
    </message>
    <message>
        <source>展开岚签</source>
        <translation>Expand Corvane</translation>
    </message>
    <message>
        <source>收起岚签</source>
        <translation>Collapse Corvane</translation>
    </message>
    <message>
        <source>导出备份…</source>
        <translation>Export backup…</translation>
    </message>
    <message>
        <source>导入…</source>
        <translation>Import…</translation>
    </message>
</context>
<context>
    <name>PanelMessageBox</name>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>岚签</source>
        <translation>Corvane</translation>
    </message>
</context>
<context>
    <name>PasswordDialog</name>
    <message>
        <source>设置备份密码</source>
        <translation>Set backup password</translation>
    </message>
    <message>
        <source>输入备份密码</source>
        <translation>Enter backup password</translation>
    </message>
    <message>
        <source>备份包含全部密钥</source>
        <translation>The backup holds every secret</translation>
    </message>
    <message>
        <source>打开加密的备份</source>
        <translation>Open an encrypted backup</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>密码</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>再输入一次</source>
        <translation>Repeat password</translation>
    </message>
    <message>
        <source>正在验证密码…</source>
        <translation>Checking password…</translation>
    </message>
    <message numerus="yes">
        <source>密码至少要有 %n 个字符，越长越难猜。</source>
        <translation>
            <numerusform>The password needs at least %n character; longer is harder to guess.</numerusform>
            <numerusform>The password needs at least %n characters; longer is harder to guess.</numerusform>
        </translation>
    </message>
    <message>
        <source>两次输入的密码不一致。</source>
        <translation>The passwords do not match.</translation>
    </message>
</context>
<context>
    <name>PortalCodeTyper</name>
    <message>
        <source>桌面门户不提供键盘输入</source>
        <translation>The desktop portal offers no keyboard</translation>
    </message>
</context>
<context>
    <name>QuickEntryView</name>
    <message>
        <source>粘贴生成</source>
        <translation>Paste and add</translation>
    </message>
    <message>
        <source>粘贴 Base32 密钥</source>
        <translation>Paste a Base32 secret</translation>
    </message>
    <message>
        <source>Base32 密钥</source>
        <translation>Base32 secret</translation>
    </message>
</context>
<context>
    <name>RunnerAdaptor</name>
    <message>
        <source>输入验证码</source>
        <translation>Type it</translation>
    </message>
</context>
<context>
    <name>SafeFile</name>
    <message>
        <source>文件不存在</source>
        <translation>No such file</translation>
    </message>
    <message>
        <source>没有权限</source>
        <translation>Permission denied</translation>
    </message>
    <message>
        <source>输入/输出错误</source>
        <translation>Input/output error</translation>
    </message>
    <message>
        <source>磁盘空间不足</source>
        <translation>Not enough disk space</translation>
    </message>
    <message>
        <source>文件系统是只读的</source>
        <translation>Read-only file system</translation>
    </message>
    <message>
        <source>文件名太长</source>
        <translation>File name too long</translation>
    </message>
    <message>
        <source>路径无效</source>
        <translation>Invalid path</translation>
    </message>
</context>
<context>
    <name>SecretCache</name>
    <message>
        <source>没有创建默认钥匙串。</source>
        <translation>No default keychain was created.</translation>
    </message>
    <message>
        <source>钥匙串仍处于锁定状态。</source>
        <translation>The keychain is still locked.</translation>
    </message>
</context>
<context>
    <name>SecretServiceCalls</name>
    <message>
        <source>钥匙串服务没有响应，请稍后重试。</source>
        <translation>The keychain does not respond. Try again later.</translation>
    </message>
</context>
<context>
    <name>SecretServiceKeychain</name>
    <message>
        <source>默认钥匙串</source>
        <translation>Default keychain</translation>
    </message>
    <message>
        <source>钥匙串已锁定，无法读取或保存密钥。</source>
        <translation>The keychain is locked: secrets cannot be read or saved.</translation>
    </message>
    <message>
        <source>没有默认钥匙串，无法保存密钥。</source>
        <translation>No default keychain to save the secret in.</translation>
    </message>
</context>
<context>
    <name>SheetDialog</name>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>SheetFields</name>
    <message>
        <source>名称</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>例如：name@example.com</source>
        <translation>e.g. name@example.com</translation>
    </message>
    <message>
        <source>服务</source>
        <translation>Service</translation>
    </message>
    <message>
        <source>例如：GitHub</source>
        <translation>e.g. GitHub</translation>
    </message>
    <message>
        <source>计数器</source>
        <translation>Counter</translation>
    </message>
    <message>
        <source>下一个验证码的计数器</source>
        <translation>Counter of the next code</translation>
    </message>
    <message>
        <source>计数器应为 0 到 18446744073709551615 之间的整数。</source>
        <translation>The counter must be a whole number from 0 to 18446744073709551615.</translation>
    </message>
</context>
<context>
    <name>SingleInstance</name>
    <message>
        <source>只能导入普通文件：%1</source>
        <translation>Only regular files can be imported: %1</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
</context>
<context>
    <name>StoreError</name>
    <message>
        <source>无法写入 %1</source>
        <translation>cannot write %1</translation>
    </message>
    <message>
        <source>%1 格式有误</source>
        <translation>%1 is malformed</translation>
    </message>
    <message>
        <source>无法保存账户列表：%1</source>
        <translation>Cannot save the account list: %1</translation>
    </message>
    <message>
        <source>钥匙串已锁定，账户没有添加。解锁钥匙串后即可再次添加。</source>
        <translation>The keychain is locked, so the account was not added. Unlock the keychain and add it again.</translation>
    </message>
    <message>
        <source>这个文件不能做图标：只能用不超过 256 KiB 的 SVG、PNG 或 JPEG 图片，SVG 不能含脚本或外部引用。</source>
        <translation>This file cannot be an icon: use an SVG, PNG or JPEG picture of at most 256 KiB, and an SVG without scripts or outside references.</translation>
    </message>
</context>
<context>
    <name>TOTPError</name>
    <message>
        <source>密钥格式不正确，请使用 Base32 密钥。</source>
        <translation>The secret is malformed. Use a Base32 secret.</translation>
    </message>
</context>
<context>
    <name>TokenListView</name>
    <message>
        <source>没有匹配的验证码</source>
        <translation>No matching accounts</translation>
    </message>
</context>
<context>
    <name>TokenProgressView</name>
    <message>
        <source>验证码有效期</source>
        <translation>Code validity</translation>
    </message>
</context>
<context>
    <name>TokenRow</name>
    <message>
        <source>点击复制；前 3 项也可使用 Ctrl+1～Ctrl+3</source>
        <translation>Click to copy; the first 3 also copy with Ctrl+1 to Ctrl+3</translation>
    </message>
    <message>
        <source>删除 %1</source>
        <translation>Delete %1</translation>
    </message>
    <message>
        <source>%1 验证码 %2，点击复制</source>
        <translation>%1 code %2, click to copy</translation>
    </message>
    <message>
        <source>%1 验证码已隐藏，点击复制</source>
        <translation>%1 code hidden, click to copy</translation>
    </message>
    <message>
        <source>下一个验证码</source>
        <translation>Next code</translation>
    </message>
</context>
<context>
    <name>TokenRowMenu</name>
    <message>
        <source>复制验证码</source>
        <translation>Copy code</translation>
    </message>
    <message>
        <source>重命名…</source>
        <translation>Rename…</translation>
    </message>
    <message>
        <source>显示二维码…</source>
        <translation>Show QR code…</translation>
    </message>
    <message>
        <source>上移</source>
        <translation>Move up</translation>
    </message>
    <message>
        <source>下移</source>
        <translation>Move down</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>输入到上一个窗口</source>
        <translation>Type into previous window</translation>
    </message>
    <message>
        <source>输入到上一个窗口（%1，改为复制）</source>
        <translation>Type into previous window (%1; copies instead)</translation>
    </message>
</context>
<context>
    <name>TokenStore</name>
    <message>
        <source>账户没有删除。</source>
        <translation>The account was not deleted.</translation>
    </message>
    <message>
        <source>账户仍是已删除状态，可以再次撤销。</source>
        <translation>The account is still deleted; you can undo again.</translation>
    </message>
</context>
<context>
    <name>TransferCommands</name>
    <message>
        <source>二维码包含这个账户的密钥，任何看到或拍下它的人都能生成验证码。
要显示吗？</source>
        <translation>The QR code contains this account’s secret: anyone who sees or photographs it can generate its codes.
Show it?</translation>
    </message>
    <message>
        <source>显示二维码</source>
        <translation>Show QR code</translation>
    </message>
    <message>
        <source>读不到这个账户的密钥。</source>
        <translation>This account’s secret cannot be read.</translation>
    </message>
    <message>
        <source>导入图标包</source>
        <translation>Import Icon Pack</translation>
    </message>
    <message>
        <source>Aegis 图标包 (*.zip pack.json)</source>
        <translation>Aegis icon pack (*.zip pack.json)</translation>
    </message>
    <message numerus="yes">
        <source>已为 %n 个账户设置图标。</source>
        <translation>
            <numerusform>Gave %n account an icon.</numerusform>
            <numerusform>Gave %n accounts icons.</numerusform>
        </translation>
    </message>
    <message>
        <source>图标包里没有适合现有账户的图标。</source>
        <translation>The icon pack has no icon for the accounts here.</translation>
    </message>
</context>
<context>
    <name>TransferError</name>
    <message>
        <source>这个备份已加密，请输入密码。</source>
        <translation>This backup is encrypted. Enter its password.</translation>
    </message>
    <message>
        <source>密码不正确。</source>
        <translation>Wrong password.</translation>
    </message>
    <message>
        <source>密码不正确，或文件已损坏。</source>
        <translation>Wrong password, or the file is damaged.</translation>
    </message>
    <message>
        <source>文件不完整或已被修改，没有导入任何账户。</source>
        <translation>The file is incomplete or was modified. No accounts were imported.</translation>
    </message>
    <message>
        <source>无法识别的文件格式。</source>
        <translation>Unrecognized file format.</translation>
    </message>
    <message>
        <source>不支持这个备份：%1</source>
        <translation>This backup is not supported: %1</translation>
    </message>
    <message>
        <source>文件太大，不像是验证码备份。</source>
        <translation>The file is too large to be an account backup.</translation>
    </message>
    <message>
        <source>这个文件中的账户超过 %1 个，一次导入不了这么多，没有导入任何账户。</source>
        <translation>This file holds more than %1 accounts, too many for one import. No accounts were imported.</translation>
    </message>
    <message>
        <source>只能导入普通文件，“%1”不是。</source>
        <translation>Only regular files can be imported, and “%1” is not one.</translation>
    </message>
    <message>
        <source>迁移链接不完整或已损坏，没有导入任何账户。</source>
        <translation>The export link is incomplete or damaged. No accounts were imported.</translation>
    </message>
    <message>
        <source>图片中没有找到二维码。</source>
        <translation>No QR code was found in the image.</translation>
    </message>
    <message>
        <source>这个二维码里不是验证码链接（otpauth:// 或 otpauth-migration://）。</source>
        <translation>This QR code holds no account link (otpauth:// or otpauth-migration://).</translation>
    </message>
    <message>
        <source>无法读取这张图片。</source>
        <translation>Cannot read this image.</translation>
    </message>
    <message>
        <source>这个桌面不允许读取屏幕，请截图后用“从图片读取二维码…”。</source>
        <translation>This desktop does not allow reading the screen. Take a screenshot and use “Read QR code from image…”.</translation>
    </message>
    <message>
        <source>正在验证密码…</source>
        <translation>Checking password…</translation>
    </message>
    <message>
        <source>缺少导入导出组件，请重新安装岚签：%1</source>
        <translation>The import and export component is missing. Reinstall Corvane: %1</translation>
    </message>
    <message>
        <source>无法读写文件：%1</source>
        <translation>Cannot read or write the file: %1</translation>
    </message>
    <message>
        <source>密码不正确，或这个备份要求的计算量过大：%1</source>
        <translation>Wrong password, or this backup asks for too much work: %1</translation>
    </message>
    <message>
        <source>已取消。</source>
        <translation>Cancelled.</translation>
    </message>
</context>
<context>
    <name>UndoBar</name>
    <message>
        <source>撤销</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>已删除 %1</source>
        <translation>Deleted %1</translation>
    </message>
</context>
<context>
    <name>UnlockThenAdd</name>
    <message>
        <source>解锁并添加</source>
        <translation>Unlock and add</translation>
    </message>
</context>
<context>
    <name>X11CodeTyper</name>
    <message>
        <source>X 服务器不支持 XTest 扩展，无法模拟键盘输入</source>
        <translation>The X server has no XTest extension to type with</translation>
    </message>
</context>
</TS>
