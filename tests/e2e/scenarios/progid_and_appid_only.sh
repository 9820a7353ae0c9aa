# Only the automation ProgID and an AppID text in lower case: the suite is
# detected, but there is nothing to resolve, so nothing changes.
new_machine "$SCENARIO"
reg_import <<EOF2
[$PROGID_KEY\\CLSID]
@="$SERVICE_CLSID"

[$APPID_KEY]
@="libreoffice service manager"
EOF2
snapshot before

run_korvalend
snapshot after
expect_exit 0
expect_installer_calls </dev/null
expect_unchanged before after
expect_trash_count 0
