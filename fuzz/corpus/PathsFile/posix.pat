/vault/PAR
/vault/LAV
/vault/QRY
/vault/USR
/vault/AUX
/vault/PAT
