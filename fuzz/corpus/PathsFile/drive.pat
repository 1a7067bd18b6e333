C:\VAULT
\\HOST\SHARE\DIR
/vault/QRY

/vault/AUX
